#pragma once
// The calculation sheet as a document of blocks, rendered twice: as plain text (the
// driver, the clipboard) and as a rich-text document (the panel, the preview, the PDF,
// the printer). Texts marked symbolic carry engineering symbols ("Rx", "Hr") that the
// rich rendering writes with subscripts.

#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "calc/common/working.h"
#include "calc/other/ljcs.h"
#include "drawing/model.h"
#include "sheet/sheet_record.h"

namespace tervalen::sheet {

struct SheetHeader {
    std::string project;     // 工程名称
    std::string subitem;     // 子项/编号
    std::string designer;    // 设计单位
    std::string calculator;  // 计算人
    std::string checker;     // 校对人
    std::string reviewer;    // 审核人
    std::string date;        // 日期, "2024-05-17"
    // 规范版本: the edition of the code the sheet cites for the methods both editions
    // share (a record computed with an edition-specific choice states its own).
    CodeEdition edition = CodeEdition::GB50057_2010;
    bool operator==(const SheetHeader&) const = default;
};

// The header of a new sheet: empty fields and today's date. Inline: the program's window
// makes an empty sheet as it starts, and this keeps the start from reading the pages of
// the sheet's code.
inline SheetHeader newHeader() {
    SheetHeader h;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char date[16] = {};
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    h.date = date;
    return h;
}

// The sheet being assembled: its header and its records in order.
struct Sheet {
    SheetHeader header = newHeader();
    std::vector<SheetRecord> records;
    // Appends a record; an empty label becomes "n# caption", n one more than the highest
    // number any label starts with ("3# …"), so that numbers stay unique after removals.
    void add(SheetRecord record);
    int nextNumber() const;
    bool operator==(const Sheet&) const = default;
};

struct Title {
    std::string text;
};
struct Heading {
    int level = 1;       // 1: a record's section, 2: its parts
    std::string number;  // "1", "1.2"
    std::string text;
};
struct Paragraph {
    std::string text;
    bool symbolic = false;
};
struct Table {
    std::vector<std::string> header;  // empty: a grid of fields without a header row
    std::vector<std::vector<std::string>> rows;
    int symbolColumn = -1;     // the column of symbols, or -1
    std::vector<int> percent;  // each column's share of the page width; empty: as fits
};
// One step of the working: symbol = formula = substituted = value unit, or a note.
struct Formula {
    Step step;
};
struct Verdict {
    std::string text;
    std::optional<bool> satisfied;
};
// A record's protection-range drawing, to go on the page at 1:scale: as wide as the
// page's text, no taller than kFigureHeightMm.
struct Figure {
    drawing::Drawing drawing;
    int scale = 0;  // N of 1:N
};
using Block = std::variant<Title, Heading, Paragraph, Table, Formula, Verdict, Figure>;

// The room a figure has on the A4 page: the width between the margins of 20 mm, and the
// height it may take (of some 240 mm between header and footer), the line that states its
// scale (drawing::kScaleLineMm) included.
inline constexpr double kFigureWidthMm = drawing::kFigureWidthMm;
inline constexpr double kFigureHeightMm = drawing::kFigureHeightMm;
// The figure of a record whose press has a drawing.
std::optional<Figure> figureOf(const SheetRecord& record);

struct Document {
    std::string project;  // for the page header
    std::vector<Block> blocks;
};

inline constexpr const char* kSheetTitle = "防雷计算书";
inline constexpr const char* kDisplayRule = "中间结果显示 7 位有效数字，计算按未舍入值进行。";
// A record whose results, computed again on reading a project file, differ from the ones
// saved (SheetRecord::mismatch); the sheet says so in its 计算结果 with both values.
inline constexpr const char* kMismatchNote = "结果与保存时不同";
inline constexpr const char* kClosingLine =
    "本计算书由 Tervalen 程序生成，计算条件与结果须经设计人校核后使用。";

// The whole sheet: title, header block, display rule, one numbered section per record,
// closing line.
Document sheetDocument(const SheetHeader& header, std::span<const SheetRecord> records);
// One record's section alone, numbered `number`.
Document recordDocument(const SheetRecord& record, int number,
                        CodeEdition edition = CodeEdition::GB50057_2010);
// The working of a record, one Formula block per step.
std::vector<Block> workingBlocks(const Working& working);

}  // namespace tervalen::sheet
