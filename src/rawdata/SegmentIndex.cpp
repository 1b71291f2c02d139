#include "rawdata/SegmentIndex.h"

#include <algorithm>
#include <tuple>

namespace wiremap {

namespace {

// Products of coordinate differences need 65 bits.
__extension__ using TWide = __int128;

bool Between(int32_t AValue, int32_t AEnd1, int32_t AEnd2) {
  return std::min(AEnd1, AEnd2) <= AValue && AValue <= std::max(AEnd1, AEnd2);
}

// Whether APoint lies on the straight line through A and B (A and B apart).
bool Collinear(const TRawPoint& A, const TRawPoint& B, const TRawPoint& APoint) {
  const TWide Dx = TWide{B.X} - A.X, Dy = TWide{B.Y} - A.Y, Dz = TWide{B.Z} - A.Z;
  const TWide Px = TWide{APoint.X} - A.X, Py = TWide{APoint.Y} - A.Y, Pz = TWide{APoint.Z} - A.Z;
  return Dx * Py == Dy * Px && Dy * Pz == Dz * Py && Dx * Pz == Dz * Px;
}

}  // namespace

TSegmentIndex::TSegmentIndex(const TPolylines& ALines) {
  for (size_t L = 0; L < ALines.size(); ++L) {
    const std::vector<TRawPoint>& Vertices = ALines[L].Vertices;
    for (size_t K = 1; K < Vertices.size(); ++K)
      Add(Vertices[K - 1], Vertices[K], static_cast<int32_t>(L));
  }
  FAlongX.Sort();
  FAlongY.Sort();
  std::sort(FSlanted.begin(), FSlanted.end(), [](const TSlanted& A, const TSlanted& B) {
    return std::tie(A.A.Page, A.A.Layer) < std::tie(B.A.Page, B.A.Layer);
  });
}

void TSegmentIndex::Add(const TRawPoint& A, const TRawPoint& B, int32_t ALine) {
  if (A == B || A.Page != B.Page || A.Layer != B.Layer) return;
  if (A.Y == B.Y && A.Z == B.Z) {
    FAlongX.Spans.push_back(
        {A.Page, A.Layer, A.Z, A.Y, std::min(A.X, B.X), std::max(A.X, B.X), ALine});
  } else if (A.X == B.X && A.Z == B.Z) {
    FAlongY.Spans.push_back(
        {A.Page, A.Layer, A.Z, A.X, std::min(A.Y, B.Y), std::max(A.Y, B.Y), ALine});
  } else {
    FSlanted.push_back({A, B, ALine});
  }
}

void TSegmentIndex::TAxis::Sort() {
  std::sort(Spans.begin(), Spans.end(), [](const TSpan& A, const TSpan& B) {
    return std::tie(A.Page, A.Layer, A.Z, A.Across, A.Low) <
           std::tie(B.Page, B.Layer, B.Z, B.Across, B.Low);
  });
  Reach.resize(Spans.size());
  for (size_t I = 0; I < Spans.size(); ++I) {
    const TSpan& Span = Spans[I];
    const bool SameGroup = I > 0 && std::tie(Span.Page, Span.Layer, Span.Z, Span.Across) ==
                                        std::tie(Spans[I - 1].Page, Spans[I - 1].Layer,
                                                 Spans[I - 1].Z, Spans[I - 1].Across);
    Reach[I] = SameGroup ? std::max(Reach[I - 1], Span.High) : Span.High;
  }
}

int32_t TSegmentIndex::TAxis::Find(int32_t APage, int32_t ALayer, int32_t AZ, int32_t AAcross,
                                   int32_t AAlong, int32_t AExceptLine) const {
  const auto Key = std::tie(APage, ALayer, AZ, AAcross);
  // The spans of the point's row that start before it; only those can hold it.
  const auto End = std::partition_point(Spans.begin(), Spans.end(), [&](const TSpan& ASpan) {
    return std::tie(ASpan.Page, ASpan.Layer, ASpan.Z, ASpan.Across, ASpan.Low) <
           std::tie(APage, ALayer, AZ, AAcross, AAlong);
  });
  for (auto I = End - Spans.begin() - 1; I >= 0; --I) {
    const TSpan& Span = Spans[static_cast<size_t>(I)];
    if (std::tie(Span.Page, Span.Layer, Span.Z, Span.Across) != Key) break;
    if (Reach[static_cast<size_t>(I)] <= AAlong) break;  // nothing from here back gets there
    if (Span.High > AAlong && Span.Line != AExceptLine) return Span.Line;
  }
  return -1;
}

int32_t TSegmentIndex::FindSlanted(const TRawPoint& APoint, int32_t AExceptLine) const {
  const auto Key = std::tie(APoint.Page, APoint.Layer);
  const auto First = std::partition_point(FSlanted.begin(), FSlanted.end(), [&](const TSlanted& A) {
    return std::tie(A.A.Page, A.A.Layer) < Key;
  });
  const auto Last = std::partition_point(First, FSlanted.end(), [&](const TSlanted& A) {
    return std::tie(A.A.Page, A.A.Layer) == Key;
  });
  for (auto It = First; It != Last; ++It) {
    const TSlanted& Segment = *It;
    if (Segment.Line == AExceptLine || APoint == Segment.A || APoint == Segment.B) continue;
    if (Between(APoint.X, Segment.A.X, Segment.B.X) &&
        Between(APoint.Y, Segment.A.Y, Segment.B.Y) &&
        Between(APoint.Z, Segment.A.Z, Segment.B.Z) && Collinear(Segment.A, Segment.B, APoint))
      return Segment.Line;
  }
  return -1;
}

int32_t TSegmentIndex::LineThrough(const TRawPoint& APoint, int32_t AExceptLine) const {
  int32_t Line = FAlongX.Find(APoint.Page, APoint.Layer, APoint.Z, APoint.Y, APoint.X, AExceptLine);
  if (Line < 0)
    Line = FAlongY.Find(APoint.Page, APoint.Layer, APoint.Z, APoint.X, APoint.Y, AExceptLine);
  if (Line < 0) Line = FindSlanted(APoint, AExceptLine);
  return Line;
}

}  // namespace wiremap
