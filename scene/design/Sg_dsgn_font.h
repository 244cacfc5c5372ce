// Editing a toolkit font in the font dialog.
#pragma once

class TsgFont;

// Shows the font dialog (through sgDesignShowModal) starting from Font; on OK the font takes the
// chosen family, size and style. Answers whether it was OK.
bool sgEditFont(TsgFont* Font);
