#include "runtime/rules/font_face.h"

namespace {

// The largest dpi that "MS Sans Serif" has bitmaps for.
constexpr int kBitmapSizesUpToDpi = 120;

}  // namespace

const wchar_t* FormFaceFor(int dpi, const std::function<FaceKind(const wchar_t* face)>& kindOf) {
  const FaceKind classic = kindOf(L"MS Sans Serif");
  if (classic == FaceKind::Scalable || (classic == FaceKind::Bitmap && dpi <= kBitmapSizesUpToDpi)) {
    return L"MS Sans Serif";
  }
  for (const wchar_t* standIn : {L"Microsoft Sans Serif", L"Tahoma"}) {
    if (kindOf(standIn) != FaceKind::Missing) return standIn;
  }
  return L"MS Shell Dlg";
}
