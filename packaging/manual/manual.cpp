// tervalen-manual: one markdown file, two outputs made from it at build time.
//
//   tervalen-manual man SOURCE.md OUT.1 VERSION DATE
//       the manual page (troff, man macros): every section of SOURCE
//   tervalen-manual help SOURCE.md OUT.h NAMESPACE::VARIABLE "SECTION,SECTION,..."
//       a C++ header holding the program's --help text: the synopsis as "usage:" lines, the
//       first paragraph of DESCRIPTION, then the sections named, as plain text
//
// The markdown is a small, fixed subset, so that the help, the manual page and the page in
// docs/ say the same words:
//   # NAME(N) — SUMMARY          the title (once, first)
//   ## HEADING                   a section
//   a paragraph                  lines up to a blank line
//   - `TERM`: DESCRIPTION        a definition (the term in code spans; continuation lines
//     continued                  indented by two spaces); "- text" without a term is a bullet
//       code                     four spaces: shown verbatim
//   `code`                       in running text: bold in the manual page
//   <!-- ... -->                 left out of both
// Anything else is refused with the line's number, so that nothing is silently dropped.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Block {
    enum Kind { Paragraph, Item, Bullet, Code } kind = Paragraph;
    std::string term;                // Item: the term as written (with its code spans)
    std::string text;                // Paragraph, Item, Bullet: the words, on one line
    std::vector<std::string> lines;  // Code: verbatim
};

struct Section {
    std::string heading;
    std::vector<Block> blocks;
};

struct Page {
    std::string name;     // "tervalen-calc"
    std::string number;   // "1"
    std::string summary;  // the NAME line's description
    std::vector<Section> sections;
    const Section* find(std::string_view heading) const {
        for (const Section& s : sections)
            if (s.heading == heading) return &s;
        return nullptr;
    }
};

[[noreturn]] void fail(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

std::string trimmed(std::string_view s) {
    const auto begin = s.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    const auto end = s.find_last_not_of(' ');
    return std::string(s.substr(begin, end - begin + 1));
}

Page parse(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error(file + ": cannot be read");
    Page page;
    Block* open = nullptr;  // the paragraph, item or code block lines are added to
    bool inComment = false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\t') != std::string::npos) fail(file, number, "a tab (use spaces)");
        if (inComment || line.starts_with("<!--")) {
            inComment = line.find("-->") == std::string::npos;
            continue;
        }
        if (trimmed(line).empty()) {
            open = nullptr;
            continue;
        }
        if (line.starts_with("# ")) {
            if (!page.name.empty() || !page.sections.empty()) fail(file, number, "a second title");
            const std::string title = line.substr(2);
            const auto paren = title.find('(');
            const auto close = title.find(')', paren);
            const auto dash = title.find(" — ", close);
            if (paren == std::string::npos || close == std::string::npos ||
                dash == std::string::npos)
                fail(file, number, "the title is not 'NAME(N) — SUMMARY'");
            page.name = title.substr(0, paren);
            page.number = title.substr(paren + 1, close - paren - 1);
            page.summary = title.substr(dash + std::string_view(" — ").size());
            continue;
        }
        if (line.starts_with("## ")) {
            page.sections.push_back({trimmed(line.substr(3)), {}});
            open = nullptr;
            continue;
        }
        if (line.starts_with("#")) fail(file, number, "only # and ## headings are known");
        if (page.sections.empty()) fail(file, number, "text before the first section");
        std::vector<Block>& blocks = page.sections.back().blocks;
        if (line.starts_with("    ") && (!open || open->kind == Block::Code)) {
            if (!open) open = &blocks.emplace_back(Block{Block::Code, {}, {}, {}});
            open->lines.push_back(line.substr(4));
            continue;
        }
        if (line.starts_with("- ")) {
            Block item;
            const std::string body = line.substr(2);
            if (body.starts_with("`")) {
                const auto end = body.find("`: ");
                if (end == std::string::npos)
                    fail(file, number, "a definition is '- `TERM`: DESCRIPTION'");
                item.kind = Block::Item;
                item.term = body.substr(0, end + 1);
                item.text = trimmed(body.substr(end + 3));
            } else {
                item.kind = Block::Bullet;
                item.text = trimmed(body);
            }
            open = &blocks.emplace_back(std::move(item));
            continue;
        }
        if (open && (open->kind == Block::Item || open->kind == Block::Bullet)) {
            if (!line.starts_with("  ")) fail(file, number, "a list item goes on indented by 2");
            open->text += ' ' + trimmed(line);
            continue;
        }
        if (line.starts_with(" ")) fail(file, number, "an indented line outside a list item");
        if (open && open->kind == Block::Paragraph) {
            open->text += ' ' + trimmed(line);
        } else {
            open = &blocks.emplace_back(Block{Block::Paragraph, {}, trimmed(line), {}});
        }
    }
    if (page.name.empty()) throw std::runtime_error(file + ": no title");
    for (const Section& s : page.sections)
        for (const Block& b : s.blocks)
            if (b.kind != Block::Code && (std::count(b.text.begin(), b.text.end(), '`') % 2 != 0 ||
                                          std::count(b.term.begin(), b.term.end(), '`') % 2 != 0))
                throw std::runtime_error(file + ": a code span not closed in: " + b.text);
    return page;
}

// ---- the manual page ------------------------------------------------------------------

// Text as troff reads it literally: backslashes escaped, and in code every '-' a minus
// sign (so that options can be searched for and copied).
std::string troff(std::string_view text, bool code) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && code)
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// A line troff will not take for a request.
std::string safeLine(std::string line) {
    if (!line.empty() && (line.front() == '.' || line.front() == '\'')) line.insert(0, "\\&");
    return line;
}

// Running text: code spans bold.
std::string manInline(std::string_view text) {
    std::string out;
    bool code = false;
    std::size_t from = 0;
    for (std::size_t tick; (tick = text.find('`', from)) != std::string_view::npos;
         from = tick + 1) {
        out += troff(text.substr(from, tick - from), code);
        out += code ? "\\fR" : "\\fB";
        code = !code;
    }
    out += troff(text.substr(from), code);
    return out;
}

// A definition's term: options bold, what the user puts in italic.
std::string manTerm(std::string_view term) {
    std::string out;
    bool code = false;
    std::size_t from = 0;
    auto words = [&](std::string_view span) {
        std::size_t start = 0;
        while (start <= span.size()) {
            auto space = span.find(' ', start);
            if (space == std::string_view::npos) space = span.size();
            const std::string_view word = span.substr(start, space - start);
            if (!word.empty()) {
                if (word.starts_with("-"))
                    out += "\\fB" + troff(word, true) + "\\fR";
                else if (word == "|" || word == "...")
                    out += troff(word, true);
                else
                    out += "\\fI" + troff(word, true) + "\\fR";
            }
            if (space < span.size()) out += ' ';
            start = space + 1;
        }
    };
    for (std::size_t tick; (tick = term.find('`', from)) != std::string_view::npos;
         from = tick + 1) {
        if (code)
            words(term.substr(from, tick - from));
        else
            out += troff(term.substr(from, tick - from), false);
        code = !code;
    }
    out += troff(term.substr(from), false);
    return out;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string manPage(const Page& page, const std::string& source, const std::string& version,
                    const std::string& date) {
    std::ostringstream out;
    out << ".\\\" Made from " << source << " by tervalen-manual; edit that file.\n";
    out << ".TH " << troff(upper(page.name), true) << ' ' << page.number << " \"" << date
        << "\" \"Tervalen " << version << "\" \"User Commands\"\n";
    out << ".SH NAME\n" << troff(page.name, true) << " \\- " << manInline(page.summary) << '\n';
    for (const Section& s : page.sections) {
        out << ".SH \"" << s.heading << "\"\n";
        bool first = true;
        for (const Block& b : s.blocks) {
            switch (b.kind) {
                case Block::Paragraph:
                    if (!first) out << ".PP\n";
                    out << safeLine(manInline(b.text)) << '\n';
                    break;
                case Block::Item:
                    out << ".TP\n"
                        << safeLine(manTerm(b.term)) << '\n'
                        << safeLine(manInline(b.text)) << '\n';
                    break;
                case Block::Bullet:
                    out << ".IP \\(bu 2\n" << safeLine(manInline(b.text)) << '\n';
                    break;
                case Block::Code:
                    if (!first) out << ".PP\n";
                    out << ".RS 4\n.nf\n";
                    for (const std::string& l : b.lines) out << safeLine(troff(l, true)) << '\n';
                    out << ".fi\n.RE\n";
                    break;
            }
            first = false;
        }
    }
    return out.str();
}

// ---- the --help text ------------------------------------------------------------------

std::string plain(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '`') out += c;
    return out;
}

// Columns a text takes on a terminal: East Asian characters two, others one.
std::size_t columns(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80) continue;
        n += c >= 0xE3 ? 2 : 1;  // U+3000 and above: wide
    }
    return n;
}

constexpr std::size_t kWidth = 79;   // the help's lines
constexpr std::size_t kColumn = 24;  // where a definition's description starts

// Words filled into lines of kWidth, the first starting at column `at`, the others at
// `indent`.
std::string fill(const std::string& text, std::size_t at, std::size_t indent) {
    std::string out;
    std::size_t column = at;
    bool lineEmpty = true;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (!lineEmpty && column + 1 + columns(word) > kWidth) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += columns(word);
        lineEmpty = false;
    }
    return out;
}

std::string titled(const std::string& heading) {
    std::string out = heading;
    for (std::size_t i = 1; i < out.size(); ++i)
        if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    return out + ":";
}

std::string helpText(const Page& page, const std::vector<std::string>& sections) {
    std::string out;
    const Section* synopsis = page.find("SYNOPSIS");
    const Section* description = page.find("DESCRIPTION");
    if (!synopsis || synopsis->blocks.empty() || synopsis->blocks.front().kind != Block::Code)
        throw std::runtime_error("the help needs a SYNOPSIS of code lines");
    if (!description || description->blocks.empty() ||
        description->blocks.front().kind != Block::Paragraph)
        throw std::runtime_error("the help needs a DESCRIPTION starting with a paragraph");
    bool first = true;
    for (const Block& b : synopsis->blocks)
        for (const std::string& l : b.lines) {
            out += (first ? "usage: " : "       ") + l + '\n';
            first = false;
        }
    out += '\n' + fill(plain(description->blocks.front().text), 0, 0) + '\n';
    for (const std::string& name : sections) {
        const Section* s = page.find(name);
        if (!s) throw std::runtime_error("the help names a section there is not: " + name);
        out += '\n' + titled(s->heading) + '\n';
        for (const Block& b : s->blocks) {
            switch (b.kind) {
                case Block::Paragraph:
                    out += "  " + fill(plain(b.text), 2, 2) + '\n';
                    break;
                case Block::Bullet:
                    out += "  - " + fill(plain(b.text), 4, 4) + '\n';
                    break;
                case Block::Item: {
                    const std::string term = plain(b.term);
                    out += "  " + term;
                    if (2 + columns(term) + 2 <= kColumn) {
                        out += std::string(kColumn - 2 - columns(term), ' ');
                    } else {
                        out += '\n' + std::string(kColumn, ' ');
                    }
                    out += fill(plain(b.text), kColumn, kColumn) + '\n';
                    break;
                }
                case Block::Code:
                    for (const std::string& l : b.lines) out += "  " + l + '\n';
                    break;
            }
        }
    }
    return out;
}

// The text as a C++ string literal, one source line per line of text.
std::string literal(const std::string& text) {
    std::string out;
    std::size_t from = 0;
    while (from < text.size()) {
        auto end = text.find('\n', from);
        end = end == std::string::npos ? text.size() : end + 1;
        out += "    \"";
        for (std::size_t i = from; i < end; ++i) {
            const char c = text[i];
            if (c == '\\' || c == '"')
                out += std::string("\\") + c;
            else if (c == '\n')
                out += "\\n";
            else
                out += c;
        }
        out += "\"\n";
        from = end;
    }
    return out;
}

std::string helpHeader(const std::string& text, const std::string& qualified,
                       const std::string& source) {
    const auto cut = qualified.rfind("::");
    if (cut == std::string::npos) throw std::runtime_error("NAMESPACE::VARIABLE expected");
    std::ostringstream out;
    out << "// Made from " << source << " by tervalen-manual; edit that file.\n"
        << "#pragma once\n\n"
        << "namespace " << qualified.substr(0, cut) << " {\n\n"
        << "inline constexpr const char* " << qualified.substr(cut + 2) << " =\n"
        << literal(text) << "    ;\n\n"
        << "}\n";
    return out.str();
}

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> out;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) out.push_back(item);
    return out;
}

void write(const std::string& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) throw std::runtime_error(file + ": cannot be written");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        // Named in the outputs without the folder it lies in, so that they are the same
        // wherever the tree is built.
        const std::string source =
            args.size() > 1 ? "docs/" + std::filesystem::path(args[1]).filename().string() : "";
        if (args.size() == 5 && args[0] == "man") {
            write(args[2], manPage(parse(args[1]), source, args[3], args[4]));
        } else if (args.size() == 5 && args[0] == "help") {
            write(args[2], helpHeader(helpText(parse(args[1]), split(args[4])), args[3], source));
        } else {
            std::cerr << "usage: tervalen-manual man SOURCE.md OUT.1 VERSION DATE\n"
                         "       tervalen-manual help SOURCE.md OUT.h NAMESPACE::VARIABLE "
                         "\"SECTION,...\"\n";
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "tervalen-manual: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
