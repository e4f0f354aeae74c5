// What a document asks of the control that owns it: settings and the application's
// events. A nested document (a table cell) asks the document that holds it instead.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphic.h"
#include "model/ItemTypes.h"
#include "model/ItemTag.h"
#include "model/PGFTypes.h"
#include "model/PGOptions.h"
#include "model/StyleTypes.h"
#include "platform/EmbeddedControl.h"

namespace pagora {

class TPGImageList;
class TCustomPGData;
class TCustomPGItemInfo;
class TPGStyle;

inline constexpr const char* kDefaultDelimiters = " .;,:(){}\"/\\";

class IPGDataOwner {
public:
  virtual ~IPGDataOwner() = default;

  [[nodiscard]] virtual TPGStyle* GetStyle() const = 0;
  [[nodiscard]] virtual TPGOptions GetOptions() const = 0;
  [[nodiscard]] virtual TPGBiDiMode GetBiDiMode() const { return pgbdUnspecified; }
  [[nodiscard]] virtual const std::string& GetDelimiters() const = 0;

  // An item is being inserted (the text may be changed), was inserted, or is going.
  virtual void ItemAction(TPGItemAction, TCustomPGItemInfo*, std::string& /*text*/, TCustomPGData*) {}
  virtual void ControlAction(TPGControlAction, int /*itemNo*/, IEmbeddedControl*, TCustomPGData*) {}
  // Whether SaveItemToFile may supply output (lets writers skip preparing its arguments).
  [[nodiscard]] virtual bool WantsSaveItemToFile() const { return false; }
  // May supply an item's output when saving; true when it did (the default output is skipped).
  virtual bool SaveItemToFile(const std::string& /*path*/, TCustomPGData*, int /*itemNo*/, TPGSaveFormat,
                              bool /*unicode*/, std::string& /*text*/) {
    return false;
  }
  // The text of an embedded control in a format; nothing when the application does not say.
  virtual void SaveComponentToFile(const std::string& /*path*/, IEmbeddedControl*, TPGSaveFormat, std::string& /*out*/) {}
  // The audible signal of refused input.
  virtual void Beep() {}

  // ---- the native format
  [[nodiscard]] virtual TPGFOptions GetPGFOptions() const { return kDefaultPGFOptions; }
  virtual void SetPGFOptions(TPGFOptions) {}
  [[nodiscard]] virtual TPGFReaderStyleMode GetPGFTextStylesReadMode() const { return pgf_sInsertMerge; }
  [[nodiscard]] virtual TPGFReaderStyleMode GetPGFParaStylesReadMode() const { return pgf_sInsertMerge; }
  // The warnings of the last read.
  [[nodiscard]] virtual TPGReadWarnings GetReadWarnings() const { return {}; }
  virtual void SetReadWarnings(TPGReadWarnings) {}
  // The application's strings about the document; none when the owner keeps none.
  [[nodiscard]] virtual std::vector<std::string>* DocumentInfo() { return nullptr; }
  // Objects a document names without holding them (records written without their data).
  virtual std::unique_ptr<TGraphic> PGFPictureNeeded(const std::string& /*name*/, const TPGTag& /*tag*/) {
    return nullptr;
  }
  virtual std::unique_ptr<IEmbeddedControl> PGFControlNeeded(const std::string& /*name*/, const TPGTag& /*tag*/) {
    return nullptr;
  }
  virtual TPGImageList* PGFImageListNeeded(int /*imageListTag*/) { return nullptr; }
};

// The owner of a document that no control shows: a style sheet, options and the events
// as plain members. Tools, tests and the file formats use it.
class TPGDocumentSettings : public IPGDataOwner {
public:
  TPGStyle* Style = nullptr;
  TPGOptions Options = kDefaultPGOptions;
  TPGBiDiMode BiDiMode = pgbdUnspecified;
  std::string Delimiters = kDefaultDelimiters;

  std::function<void(TCustomPGData& sender, TPGItemAction action, TCustomPGItemInfo* item, std::string& text)>
      OnItemAction;
  std::function<void(TCustomPGData& sender, TPGControlAction action, int itemNo, IEmbeddedControl* control)>
      OnControlAction;
  std::function<void(TCustomPGData& sender, const std::string& path, int itemNo, TPGSaveFormat format, bool unicode,
                     std::string& text, bool& doDefault)>
      OnSaveItemToFile;
  std::function<void(const std::string& path, IEmbeddedControl* control, TPGSaveFormat format, std::string& out)>
      OnSaveComponentToFile;
  std::function<void()> OnBeep;

  TPGFOptions PGFOptions = kDefaultPGFOptions;
  TPGFReaderStyleMode PGFTextStylesReadMode = pgf_sInsertMerge;
  TPGFReaderStyleMode PGFParaStylesReadMode = pgf_sInsertMerge;
  TPGReadWarnings ReadWarnings;
  std::vector<std::string> DocumentInfoList;
  std::function<std::unique_ptr<TGraphic>(const std::string& name, const TPGTag& tag)> OnPGFPictureNeeded;
  std::function<std::unique_ptr<IEmbeddedControl>(const std::string& name, const TPGTag& tag)> OnPGFControlNeeded;
  std::function<TPGImageList*(int imageListTag)> OnPGFImageListNeeded;

  [[nodiscard]] TPGStyle* GetStyle() const override { return Style; }
  [[nodiscard]] TPGOptions GetOptions() const override { return Options; }
  [[nodiscard]] TPGBiDiMode GetBiDiMode() const override { return BiDiMode; }
  [[nodiscard]] const std::string& GetDelimiters() const override { return Delimiters; }

  void ItemAction(TPGItemAction action, TCustomPGItemInfo* item, std::string& text, TCustomPGData* data) override {
    if (OnItemAction && data) OnItemAction(*data, action, item, text);
  }
  void ControlAction(TPGControlAction action, int itemNo, IEmbeddedControl* control, TCustomPGData* data) override {
    if (OnControlAction && data) OnControlAction(*data, action, itemNo, control);
  }
  [[nodiscard]] bool WantsSaveItemToFile() const override { return static_cast<bool>(OnSaveItemToFile); }
  bool SaveItemToFile(const std::string& path, TCustomPGData* data, int itemNo, TPGSaveFormat format, bool unicode,
                      std::string& text) override {
    if (!OnSaveItemToFile || !data) return false;
    bool doDefault = true;
    OnSaveItemToFile(*data, path, itemNo, format, unicode, text, doDefault);
    return !doDefault;
  }
  void SaveComponentToFile(const std::string& path, IEmbeddedControl* control, TPGSaveFormat format,
                           std::string& out) override {
    if (OnSaveComponentToFile) OnSaveComponentToFile(path, control, format, out);
  }
  void Beep() override {
    if (OnBeep) OnBeep();
  }
  [[nodiscard]] TPGFOptions GetPGFOptions() const override { return PGFOptions; }
  void SetPGFOptions(TPGFOptions options) override { PGFOptions = options; }
  [[nodiscard]] TPGFReaderStyleMode GetPGFTextStylesReadMode() const override { return PGFTextStylesReadMode; }
  [[nodiscard]] TPGFReaderStyleMode GetPGFParaStylesReadMode() const override { return PGFParaStylesReadMode; }
  [[nodiscard]] TPGReadWarnings GetReadWarnings() const override { return ReadWarnings; }
  void SetReadWarnings(TPGReadWarnings warnings) override { ReadWarnings = warnings; }
  [[nodiscard]] std::vector<std::string>* DocumentInfo() override { return &DocumentInfoList; }
  std::unique_ptr<TGraphic> PGFPictureNeeded(const std::string& name, const TPGTag& tag) override;
  std::unique_ptr<IEmbeddedControl> PGFControlNeeded(const std::string& name, const TPGTag& tag) override;
  TPGImageList* PGFImageListNeeded(int imageListTag) override {
    return OnPGFImageListNeeded ? OnPGFImageListNeeded(imageListTag) : nullptr;
  }
};

}  // namespace pagora
