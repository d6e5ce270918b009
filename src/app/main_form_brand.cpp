// brand.ini's pictures in the main window: drawn fitted to their boxes, or the
// built-in ones kept when the window system cannot draw them.
#include "app/main_form.h"
#include "config/brand.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

UiSize Size(TPixelSize size) { return {size.width, size.height}; }

void CouldNotDraw(const char* key, const TBrandPicture& picture) {
  DebugLine(std::string(kBrandFile) + ": " + key + "=" + picture.file +
            " ignored: Windows could not draw it");
}

}  // namespace

void TMainForm::ApplyBrandPictures() {
  const TBrand& brand = Brand();
  brandLogo_ = false;
  if (brand.logo) {
    brandLogo_ = ImgLogo.LoadFromBmpFile(brand.logo->bytes, Size(brand.logo->size));
    if (!brandLogo_) CouldNotDraw("LogoFile", *brand.logo);
  }
  if (brand.picture &&
      !LvPrinters.SetItemPicture(brand.picture->bytes, Size(brand.picture->size))) {
    CouldNotDraw("PictureFile", *brand.picture);
  }
}

}  // namespace pinst
