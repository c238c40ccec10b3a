#include "view/ui_font.h"

#include "sheet_qt/song_font.h"

namespace tervalen::view {

QFont formFont() {
    // The same Song face and size as the calculation sheet's.
    return sheet_qt::sheetFont();
}

}  // namespace tervalen::view
