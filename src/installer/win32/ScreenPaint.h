#pragma once
// Painting shared by the installer's windows.
#include <windows.h>

// Fills `area` from `top` at its top edge to `bottom` at its bottom edge.
void PaintGradient(HDC context, const RECT& area, COLORREF top, COLORREF bottom);
