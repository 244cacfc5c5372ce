#include "scene/design/Sg_dsgn_font.h"

#include "scene/core/Sg_scene_font.h"
#include "scene/design/Sg_dsgn_form.h"

#include "platform/ui/FontDialog.h"

bool sgEditFont(TsgFont* Font) {
    if (!Font)
        return false;
    TFontDialog dialog;
    // Underline and strike-out have no place in the dialog's choice of style: they ride along
    // in the dialog's font, so that the font keeps them when only family or size change.
    if (Font->Style() == sgFontUnderline)
        dialog.Font.SetStyle(TFontStyles(1u << fsUnderline));
    else if (Font->Style() == sgFontStrikeout)
        dialog.Font.SetStyle(TFontStyles(1u << fsStrikeOut));
    Font->AssignTo(&dialog.Font);
    dialog.ShowChooser = [](TFontChooser& Chooser) { return sgDesignShowModal()(Chooser); };
    if (!dialog.Execute())
        return false;
    // Bold or italic chosen replaces them.
    constexpr TFontStyles boldItalic = (1u << fsBold) | (1u << fsItalic);
    if (dialog.Font.Style() & boldItalic)
        dialog.Font.SetStyle(dialog.Font.Style() & boldItalic);
    Font->Assign(&dialog.Font);
    return true;
}
