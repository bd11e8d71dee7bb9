// The picture mouse tools: a key held while the mouse points into the
// picture area (Z zoom box, C centre, J and K Julia constant, P point),
// acting when the key is released; Escape disarms them. The state lives in
// Shell().Tools; positions are pixels of the picture area until the key-up
// makes them relative to the picture's top-left corner.
#pragma once

#include "gui/event.h"

namespace ork {

class TParameterAnim;
class TRender;

// Tool modes of ApplyPictureClick; 100 more applies the tool to the right
// half of a double picture.
enum : int { kToolCentre = 1, kToolZoom = 2, kToolJulia = 3, kToolPoint = 4, kToolRight = 100 };

// Changes the movie's current keyframe for a click (x1, y1) or a box
// (x1, y1)-(x2, y2), pixels relative to the picture's top-left corner:
// centre, zoom (boxes lower than 4 pixels only re-centre), Julia constant or
// inspected point (which posts 128 through host). Returns 1 when the
// keyframe was changed, 0 when the position lies outside the picture (the
// keyframe, its inspected point included, is then unchanged) or the movie
// or its keyframe is missing.
int ApplyPictureClick(int mode, double x1, double y1, double x2, double y2,
                      TParameterAnim* movie, const TRender* render);

// Command 80: the pixel of Movie 1's current Julia constant becomes the
// inspected point (Mpox, Mpoy and InsertPosX/Y), and 128 is posted.
void ShowCAsDynamicsPoint();

// Event handling on the picture area (the loop calls these only for events
// whose source is the picture area; the shown-key check ran before).
void ToolKeyDown(int key);
void ToolKeyUp(int key);
void ToolMouseMove(int x, int y);
void ToolMouseDown(int buttons);

// Step 4 of painting the picture area: the cross-hair while a tool is armed
// and the zoom box while Z is held.
void DrawToolMarks(THandle canvas, int areaWidth, int areaHeight);

}  // namespace ork
