#include "pdf_export.h"

std::string writeSheetPdf(const std::string&, const tervalen::sheet::Document&) {
    return "this build has no Qt, so it cannot write PDF";
}
