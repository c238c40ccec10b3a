#include "pdf_export.h"

tervalen::Result<> writeSheetPdf(const std::string&, const tervalen::sheet::Document&) {
    return tervalen::Failure{"this build has no Qt, so it cannot write PDF"};
}
