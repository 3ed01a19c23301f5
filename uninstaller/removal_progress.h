#pragma once

// The progress position after `done` of `total` removal items: done / total
// of 100, cut toward zero, so that the last item gives exactly 100. Integer
// arithmetic: in floating point 29 / 100 * 100 comes out as 28.999...
int ProgressPosition(int done, int total);
