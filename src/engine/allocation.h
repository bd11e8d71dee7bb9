// Buffers whose size the user chooses (a render object's per-pixel arrays
// and pictures, the orbit record) are requested through here, so that a
// size the machine cannot give ends the command that asked for it with a
// message instead of ending the program.
//
// A request is refused before anything is allocated when its byte count
// exceeds the allocation limit; a failure of the allocator itself
// (std::bad_alloc) is reported the same way by the code that requested the
// buffers. Nothing below the command catches TAllocationError: the shell's
// command dispatcher and the renderer do, show AllocationMessage and
// abandon the command.
#pragma once

#include <new>
#include <string>

#include "model/language.h"

namespace ork {

class TAllocationError : public std::bad_alloc {
 public:
  // `bytes` could not be had for `purpose` (an ISO-8859-1 text in the
  // chosen language, such as "the picture buffers 7680 x 4320").
  TAllocationError(double bytes, std::string purpose)
      : bytes_(bytes), purpose_(std::move(purpose)) {}
  double Bytes() const { return bytes_; }
  const std::string& Purpose() const { return purpose_; }
  const char* what() const noexcept override { return "buffer allocation failed"; }

 private:
  double bytes_;
  std::string purpose_;
};

// The most bytes one request may take: the machine's physical memory,
// unless SetAllocationLimit chose another. Byte counts are doubles so that
// absurd sizes cannot overflow on the way.
double AllocationLimit();
// The most bytes that new memory may take now: the memory the system can
// give without swapping (MemAvailable), the rest of the process's
// address-space limit and the rest of its control group's memory limit,
// whichever is least, and never more than AllocationLimit. Read anew on
// every call, since other programs take and give back memory. A limit set
// by SetAllocationLimit stands for all of these.
double MemoryLeft();
// Tests (and only they) set a fixed limit to provoke refusals without
// exhausting memory; 0 returns to what the machine has.
void SetAllocationLimit(double bytes);

// Throws TAllocationError(bytes, purpose) when bytes exceed MemoryLeft()
// (`fresh`: memory still to be had) or AllocationLimit() (buffers of that
// size that are held already and reused).
void CheckAllocation(double bytes, const std::string& purpose, bool fresh = true);

// "Nicht genug Speicher: 13,9 GB für <purpose> konnten nicht belegt
// werden. Der Befehl wurde abgebrochen." in the chosen language; for a
// std::bad_alloc that is no TAllocationError the size is left out.
std::string AllocationMessage(const std::bad_alloc& error);

// The size in bytes as people read it: "812 Bytes", "3,5 MB", "48,0 TB"
// (decimal units; the German text with a decimal comma).
std::string ByteSizeText(double bytes);

}  // namespace ork
