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
    // The cover's fields besides those above. The 计算人 signs as 设计.
    std::string number;          // 计算书编号
    std::string revision;        // 版次
    std::string approver;        // 审定人
    std::string calculatorDate;  // the date each one signed, "2024-05-17"
    std::string checkerDate;
    std::string reviewerDate;
    std::string approverDate;
    // 每条记录另起一页: each record's section starts a page of its own.
    bool recordPerPage = false;
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
    // Appends a record; an empty label becomes the form's caption (the section number is
    // the record's place, never part of its label).
    void add(SheetRecord record);
    // 更新此记录: the record a form was opened again from (`was`, then at `hint`) takes the
    // form's new calculation `now`, in its place, keeping its label and its requirement
    // (dropped when the new results take it no more: `requirementDropped`). The record is
    // found as the same calculation (form, settings, actions) as `was`, at `hint` first;
    // its index, or -1 when it is no longer in the sheet.
    struct Updated {
        int index = -1;
        bool requirementDropped = false;
    };
    Updated update(const SheetRecord& was, std::size_t hint, SheetRecord now);
    // 采用重新计算结果: a record marked as differing from what was saved keeps the values
    // computed now (its mark cleared, so they are what a save writes). False when there is
    // nothing to take (no mark, or the press gave no result).
    bool adoptRecomputed(std::size_t index);
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
// What follows starts a new page (in the PDF and the printout; a rule in the preview).
struct PageBreak {};
using Block = std::variant<Title, Heading, Paragraph, Table, Formula, Verdict, Figure, PageBreak>;

// The room a figure has on the A4 page: the width between the margins of 20 mm, and the
// height it may take (of some 240 mm between header and footer), the line that states its
// scale (drawing::kScaleLineMm) included.
inline constexpr double kFigureWidthMm = drawing::kFigureWidthMm;
inline constexpr double kFigureHeightMm = drawing::kFigureHeightMm;
// The figure of a record whose press has a drawing.
std::optional<Figure> figureOf(const SheetRecord& record);

// The table of contents: the table block whose last column is the page, and for each of
// its rows the block that row points to; the paged sheet fills in the pages.
struct ContentsTable {
    std::size_t table = 0;
    std::vector<std::size_t> targets;
};

struct Document {
    std::string project;  // for the page header
    std::vector<Block> blocks;
    std::optional<ContentsTable> contents;
};

inline constexpr const char* kSheetTitle = "防雷计算书";
inline constexpr const char* kDisplayRule = "中间结果显示 7 位有效数字，计算按未舍入值进行。";
// A record whose results, computed again on reading a project file, differ from the ones
// saved (SheetRecord::mismatch); the sheet says so in its 计算结果 with both values.
inline constexpr const char* kMismatchNote = "结果与保存时不同";
// Its mark in the summary's verdict column, explained under the table.
inline constexpr const char* kMismatchMark = "※";
inline constexpr const char* kClosingLine =
    "本计算书由 Tervalen 程序生成，计算条件与结果须经设计人校核后使用。";

inline constexpr const char* kContentsTitle = "目录";
inline constexpr const char* kSummaryTitle = "计算汇总表";

// Each record's section as last built, so that a sheet built again after a change remakes
// only the sections whose record or edition changed (their drawings above all); a record
// that only moved keeps its section, renumbered.
class SectionCache {
public:
    std::vector<Block> section(const SheetRecord& record, int number, CodeEdition edition);
    // Forgets the sections not asked for since the last call.
    void prune();

private:
    struct Entry {
        SheetRecord record;
        CodeEdition edition;
        int number;
        std::vector<Block> blocks;
        bool used;
    };
    std::vector<Entry> m_entries;
};

// The whole sheet: the cover (a page of its own), the contents and the summary (from a
// new page), the display rule, one numbered section per record (each on a new page when
// the header asks for it), the closing line.
Document sheetDocument(const SheetHeader& header, std::span<const SheetRecord> records,
                       SectionCache* cache = nullptr);
// The sheet of one calculation (the driver's): title, header block, display rule, its
// section, closing line.
Document singleSheetDocument(const SheetHeader& header, const SheetRecord& record);

// Parts of the sheet, for a caller that keeps them (the 计算书 window): the cover, the
// contents and the summary (ending with a page break), one record's section.
std::vector<Block> coverBlocks(const SheetHeader& header);
std::vector<Block> frontBlocks(std::span<const SheetRecord> records);
std::vector<Block> sectionBlocks(const SheetRecord& record, int number, CodeEdition edition);

// The summary's row of a record: label, form, key result, requirement, verdict.
std::vector<std::string> summaryRow(const SheetRecord& record, int number);

// The label as the sheet shows it: a label the program made as "n# caption" (in earlier
// versions) without its number, which goes stale once records move; any other as given.
std::string shownLabel(const SheetRecord& record);
// One record's section alone, numbered `number`.
Document recordDocument(const SheetRecord& record, int number,
                        CodeEdition edition = CodeEdition::GB50057_2010);
// The working of a record, one Formula block per step.
std::vector<Block> workingBlocks(const Working& working);

}  // namespace tervalen::sheet
