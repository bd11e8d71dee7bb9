// The point-dynamics commands: 128 starts a dynamics computation at the
// picked point (Movie 1, or Movie 2 for a pick on the right picture), 81
// shows its result in the dynamics picture and points windows or writes
// the number list, 82 hands the dynamics picture to the main picture, 79
// stores the inspected point as Movie 1's C. Also registers the drawing of
// the orbit picture.
#pragma once

namespace ork {

void RegisterDynamicsCommands();

// The command bodies (bound by RegisterDynamicsCommands).
void DynamicsPointCommand();   // 128
void DynamicsResultCommand();  // 81
void DynamicsToMainCommand();  // 82
void PointAsCCommand();        // 79

// Computes the orbit of the point last picked, in the movie it was picked
// in (posts 83 or 84); DynamicsMode must be set.
void PostDynamicsRun();

}  // namespace ork
