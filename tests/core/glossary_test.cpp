// docs/glossary.md lists the catalog's forms: every form in menu order with its window
// title, each row naming the form's input and result boxes, and no form that is not there.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "forms/catalog.h"

namespace {

using tervalen::forms::allForms;
using tervalen::forms::Control;
using tervalen::forms::FormDef;
using tervalen::forms::Kind;

struct Row {
    std::string name, title, text;
};

// The rows of the table under "## Forms": "| `frmX` | title | ...".
std::vector<Row> formRows() {
    std::ifstream in(TERVALEN_GLOSSARY);
    EXPECT_TRUE(in) << "cannot read " << TERVALEN_GLOSSARY;
    std::vector<Row> rows;
    bool inForms = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("## ")) inForms = line == "## Forms";
        if (!inForms || !line.starts_with("| `frm")) continue;
        std::vector<std::string> cells;
        std::istringstream cellsIn(line.substr(1));
        for (std::string cell; std::getline(cellsIn, cell, '|');) {
            const auto begin = cell.find_first_not_of(' ');
            const auto end = cell.find_last_not_of(' ');
            cells.push_back(begin == std::string::npos ? "" : cell.substr(begin, end - begin + 1));
        }
        if (cells.size() < 2) continue;
        rows.push_back({cells[0].substr(1, cells[0].size() - 2), cells[1], line});
    }
    return rows;
}

std::vector<const Control*> boxes(const FormDef& def) {
    std::vector<const Control*> out;
    for (const auto& frame : def.frames)
        for (const auto& row : frame.rows)
            for (const Control& c : row)
                if (c.kind == Kind::Input || c.kind == Kind::Result) out.push_back(&c);
    return out;
}

TEST(Glossary, ListsEveryFormInMenuOrderWithItsTitleAndBoxes) {
    const std::vector<Row> rows = formRows();
    const auto& forms = allForms();
    ASSERT_EQ(rows.size(), forms.size()) << "the glossary's table of forms has " << rows.size()
                                         << " rows, the catalog " << forms.size() << " forms";
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const FormDef& def = *forms[i];
        SCOPED_TRACE(def.name);
        EXPECT_EQ(rows[i].name, def.name) << "row " << i + 1;
        EXPECT_EQ(rows[i].title, def.caption);
        for (const Control* c : boxes(def))
            EXPECT_NE(rows[i].text.find('`' + c->name + '`'), std::string::npos)
                << "the row does not name " << c->name;
    }
}

}  // namespace
