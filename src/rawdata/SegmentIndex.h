#pragma once

#include <cstdint>
#include <vector>

#include "rawdata/RawData.h"

namespace wiremap {

// Finds the line segment that passes through a point without a vertex there. Segments
// along x or y (nearly all of a schematic) are kept sorted per page, layer, height and
// row, so a query is a binary search; the few slanted ones are tried one by one.
// Both vertices of a segment must be on one page and layer for it to hold a point.
class TSegmentIndex {
 public:
  explicit TSegmentIndex(const TPolylines& ALines);

  // The index in ALines of a line other than AExceptLine with a segment that holds
  // APoint strictly between its ends, or -1 when there is none.
  int32_t LineThrough(const TRawPoint& APoint, int32_t AExceptLine = -1) const;

 private:
  // A segment along one axis: Across is its fixed coordinate, Low < High its extent.
  struct TSpan {
    int32_t Page, Layer, Z, Across, Low, High, Line;
  };
  struct TSlanted {
    TRawPoint A, B;
    int32_t Line;
  };
  // The spans of one axis with, for each, the highest High of its group up to it.
  struct TAxis {
    std::vector<TSpan> Spans;
    std::vector<int32_t> Reach;
    void Sort();
    int32_t Find(int32_t APage, int32_t ALayer, int32_t AZ, int32_t AAcross, int32_t AAlong,
                 int32_t AExceptLine) const;
  };

  void Add(const TRawPoint& A, const TRawPoint& B, int32_t ALine);
  int32_t FindSlanted(const TRawPoint& APoint, int32_t AExceptLine) const;

  TAxis FAlongX, FAlongY;
  std::vector<TSlanted> FSlanted;  // by page and layer
};

}  // namespace wiremap
