// The state and command handling of one effect settings dialog, free of any window: the controls'
// values, the two preview images and the commands (ready, recompute, preview click, OK, Cancel,
// Restore, options, colours, sliders and edits). The dialog procedures only translate messages
// into these calls and show what it holds.
#ifndef PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_CONTROLLER_H
#define PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_CONTROLLER_H

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/registry/image_record.h"
#include "effects/dialogs/effect_dialog_layout.h"
#include "effects/effect_settings.h"

namespace pixmill::effects {

// Where the original preview is drawn from: detail mode off shows the whole source fitted, on
// shows it 1:1 centred on the click point (in preview coordinates).
struct PreviewView {
    bool detail = false;
    int clickX = 0;
    int clickY = 0;
};

// Makes the original preview of `source` for a view; 0 when there is none (no source, no memory).
using OriginalPreviewBuilder = std::function<PxlImageId(PxlImageId source, const PreviewView& view)>;

class EffectDialogController {
public:
    // Initialisation: remembers the start values, forgets the values last used and builds the
    // original preview in fitted mode. `settings` stays the caller's and is changed in place: it
    // holds the chosen values after OK and the start values after Cancel. Null (with the reason in
    // the debug output) when the request names no effect dialog.
    static std::unique_ptr<EffectDialogController> open(const EffectRequest& request, EffectSettings& settings,
                                                        OriginalPreviewBuilder build);
    EffectDialogController(const EffectDialogController&) = delete;
    EffectDialogController& operator=(const EffectDialogController&) = delete;

    const EffectDialogLayout& layout() const { return *layout_; }
    const EffectSettings& settings() const { return settings_; }
    PxlImageId originalPreview() const { return original_.get(); }
    PxlImageId editedPreview() const { return edited_.get(); }
    bool detailMode() const { return view_.detail; }
    bool isReady() const { return ready_; }

    // 1001: the dialog is shown; the first recomputation may run.
    void markReady() { ready_ = true; }
    // 1000: when ready and a setting differs from the values last used, makes a new edited
    // preview. A failed computation keeps the last good preview and retries on the next call.
    // True when the edited preview was rebuilt.
    bool recompute();
    // A click on a preview: detail mode toggles and the original preview is rebuilt around the
    // point; the values last used are forgotten so that the next recomputation runs.
    void previewClicked(int x, int y);
    // OK (returns 1) and Cancel (returns 0, settings back at the start values): both previews go.
    int accept();
    int cancel();
    // Restore: settings back at the start values; the dialog stays.
    void restore() { settings_ = start_; }

    // A slider moved to `position` (clamped to its range); false for a control of no slider.
    bool sliderMoved(int sliderId, int position);
    // An edit's text changed. An integer within the setting's range becomes the setting (nullopt);
    // anything else gives the last valid value, which the edit must show again.
    std::optional<int> editChanged(int editId, std::string_view text);
    // The value an edit, spin or slider of this dialog shows; nullopt for another control.
    std::optional<int> sliderValue(int controlId) const;

    // A radio button or check box was clicked; false when it is none of this dialog's options.
    bool optionClicked(int controlId);
    // Whether an option control shows as checked.
    bool optionChecked(int controlId) const;
    // A colour button's dialog answered OK with `colour`; false for no colour button of this
    // dialog. In the shade dialog a new colour also resets brightness and contrast.
    bool colourChosen(int buttonId, COLORREF colour);

private:
    EffectDialogController(const EffectRequest& request, const EffectDialogLayout& layout, EffectSettings& settings,
                           OriginalPreviewBuilder build);
    void rebuildOriginal();
    PxlImageId makeEditedPreview() const;

    EffectRequest request_;
    const EffectDialogLayout* layout_;
    EffectSettings& settings_;
    EffectSettings start_;
    std::optional<EffectSettings> lastUsed_;
    OriginalPreviewBuilder build_;
    OwnedImageId original_;
    OwnedImageId edited_;
    PreviewView view_;
    bool ready_ = false;
};

// The colours the dialog's swatches show: the shade colour, the two colours of the bicolour
// image, or the emboss coating (first only).
struct SwatchColours {
    COLORREF first = RGB(0, 0, 0);
    COLORREF second = RGB(0, 0, 0);
};
SwatchColours swatchColours(int dialogId, const EffectSettings& settings);

// The colour of band `band` (0..127) of the shade ramp swatch: the colour less its smallest
// channel, each band 2 lighter per channel, at most 255.
COLORREF shadeRampBand(COLORREF colour, int band);

}  // namespace pixmill::effects

#endif
