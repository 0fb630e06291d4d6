// Rectangles in the current colour and alpha.
#pragma once

// Covers the pixels from x1, y1 to x2, y2, both corners included; an outline is one pixel wide.
void Primitive_Rectangle(double x1, double y1, double x2, double y2, bool outline);
