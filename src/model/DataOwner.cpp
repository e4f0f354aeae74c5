#include "model/DataOwner.h"

#include "graphics/Graphic.h"
#include "platform/EmbeddedControl.h"

namespace pagora {

TPGBackground::TPGBackground() = default;
TPGBackground::~TPGBackground() = default;

std::unique_ptr<TGraphic> TPGDocumentSettings::PGFPictureNeeded(const std::string& name, const TPGTag& tag) {
  return OnPGFPictureNeeded ? OnPGFPictureNeeded(name, tag) : nullptr;
}

std::unique_ptr<IEmbeddedControl> TPGDocumentSettings::PGFControlNeeded(const std::string& name, const TPGTag& tag) {
  return OnPGFControlNeeded ? OnPGFControlNeeded(name, tag) : nullptr;
}

}  // namespace pagora
