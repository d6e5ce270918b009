// Pictures from BMP files: the file's pixels drawn scaled (StretchDIBits, halftone)
// onto a bitmap of the screen's format, which a picture control shows or a list
// view's image list takes as its items' picture.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_ui.h"

namespace pinst::win32 {

namespace {

// The list's items show their picture on light grey, which the list shows through.
constexpr COLORREF kListMask = RGB(192, 192, 192);
constexpr int kListCell = 32;

// A bitmap of width x height with the file's picture drawn at size inside it,
// offset by (x, y), on background (none: the picture fills it). Null on failure.
ScopedGdiObject Draw(const std::string& file, int width, int height, int x, int y, UiSize size,
                     const COLORREF* background) {
  constexpr size_t kFileHeader = sizeof(BITMAPFILEHEADER);
  if (file.size() <= kFileHeader) return {};
  // The header, palette and pixels, copied to storage aligned for BITMAPINFO.
  std::vector<DWORD> info((file.size() - kFileHeader + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::memcpy(info.data(), file.data() + kFileHeader, file.size() - kFileHeader);
  BITMAPFILEHEADER fileHeader;
  std::memcpy(&fileHeader, file.data(), kFileHeader);
  const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
  const void* bits =
      reinterpret_cast<const BYTE*>(info.data()) + (fileHeader.bfOffBits - kFileHeader);
  const LONG sourceHeight =
      bmi->bmiHeader.biHeight < 0 ? -bmi->bmiHeader.biHeight : bmi->bmiHeader.biHeight;

  ScopedWindowDc screen({nullptr, ::GetDC(nullptr)});
  if (!screen) return {};
  ScopedMemoryDc dc(::CreateCompatibleDC(screen.Get().dc));
  ScopedGdiObject bitmap(::CreateCompatibleBitmap(screen.Get().dc, width, height));
  if (!dc || !bitmap) return {};
  HGDIOBJ old = ::SelectObject(dc.Get(), bitmap.Get());
  if (background) {
    const RECT all = {0, 0, width, height};
    ScopedGdiObject brush(::CreateSolidBrush(*background));
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(brush.Get()));
  }
  ::SetStretchBltMode(dc.Get(), HALFTONE);
  ::SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
  const int lines =
      ::StretchDIBits(dc.Get(), x, y, size.width, size.height, 0, 0, bmi->bmiHeader.biWidth,
                      sourceHeight, bits, bmi, DIB_RGB_COLORS, SRCCOPY);
  ::SelectObject(dc.Get(), old);
  if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) return {};
  return bitmap;
}

}  // namespace

bool Win32Ui::LoadPictureFile(UiHandle window, const std::string& bmpFile, UiSize size) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  Peer* peer = Find(hwnd);
  if (!peer || size.width <= 0 || size.height <= 0) return false;
  if (peer->kind == UiKind::kListView) {
    ScopedGdiObject cell = Draw(bmpFile, kListCell, kListCell, (kListCell - size.width) / 2,
                                (kListCell - size.height) / 2, size, &kListMask);
    if (!cell) return false;
    HIMAGELIST images = ListView_GetImageList(hwnd, LVSIL_NORMAL);
    if (!images) {
      // The list view owns its image list and destroys it with itself.
      images = ::ImageList_Create(kListCell, kListCell, ILC_COLOR24 | ILC_MASK, 1, 1);
      if (!images) return false;
      ListView_SetImageList(hwnd, images, LVSIL_NORMAL);
    }
    // Added before the old one goes: a failure keeps the built-in picture.
    if (::ImageList_AddMasked(images, static_cast<HBITMAP>(cell.Get()), kListMask) < 0) {
      return false;
    }
    while (::ImageList_GetImageCount(images) > 1) ::ImageList_Remove(images, 0);
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return true;
  }
  if (peer->kind != UiKind::kPicture) return false;
  ScopedGdiObject bitmap = Draw(bmpFile, size.width, size.height, 0, 0, size, nullptr);
  if (!bitmap) return false;
  ::SendMessageA(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get()));
  peer->bitmap = std::move(bitmap);
  return true;
}

}  // namespace pinst::win32
