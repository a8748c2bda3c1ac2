#include "resources/DIBSection.h"

#include "resources/Text.h"

namespace vg {

DIBSection::DIBSection() {
    create(kScreenWidth, kScreenHeight);
}

DIBSection::~DIBSection() = default;

bool DIBSection::create(int32_t newWidth, int32_t newHeight) {
    if (!DIB::create(newWidth, newHeight)) return false;
    setFont(0, "MS UI Gothic");
    setTextColor(0xFFFFFF);
    return true;
}

void DIBSection::release() {
    font_.reset();
    DIB::release();
}

bool DIBSection::setFont(uint32_t flags, const char* face) {
    font_.reset();
    font_ = TextFont::create(flags, face);
    return font_ != nullptr;
}

bool setFont(uint32_t flags, DIBSection& section, const char* face) {
    return section.setFont(flags, face);
}

}  // namespace vg
