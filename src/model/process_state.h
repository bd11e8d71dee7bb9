// Process-wide values that several subsystems read. Each group belongs to
// the subsystem named at its struct; it lives here, in the lowest library,
// because libraries below the owner read it too. Tests call
// ResetProcessState() to start clean.
#pragma once

namespace ork {

// Owned by the picture composition.
struct TCompositionState {
  int CompositionMode = -1000;  // last requested composition; -1000: nothing valid shown
  int ShownImage = 1;       // 1 Image, 2 ImageD, 4 ImageV
  bool KeepLeftPicture = false;
  int InsertPosX = 0;       // pixels, top-left corner of Movie 2's insert
  int InsertPosY = 0;
  int InsertOpacity = 255;  // 255 replaces, otherwise blends
};

// Owned by the orbit dynamics.
struct TDynamicsState {
  int DynamicsMode = 0;      // 0 off, 1 points, 2 lines, 3 lines + number list
  int DynamicsLength = 400;  // side of the square orbit area in pixels
};

// Owned by the shell: the key last computed and shown per movie.
struct TShownKeys {
  int LastKeyM1 = 0;
  int LastKeyM2 = 0;
};

TCompositionState& Composition();
TDynamicsState& Dynamics();
TShownKeys& ShownKeys();

// Every process-wide group back to its start value (all subsystems register
// their own reset here through RegisterStateReset).
void ResetProcessState();
void RegisterStateReset(void (*reset)());

}  // namespace ork
