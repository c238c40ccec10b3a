// The project file read back: the same records, inputs, open forms and sheet; records
// computed again and marked where they differ from what was saved; and a damaged file
// refused with one line naming it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>

#include "calc/common/step_budget.h"
#include "project_fixture.h"
#include "sheet/document.h"
#include "sheet/text_render.h"

namespace tervalen::project {
namespace {

using forms::Action;
using testing::readFile;
using testing::sampleProject;
using testing::ScratchFolder;
using testing::writeFile;

std::string sheetText(const Project& p) {
    return sheet::plainText(sheet::sheetDocument(p.sheet.header, p.sheet.records));
}

TEST(ProjectFile, ReopensAsSaved) {
    ScratchFolder dir;
    const Project saved = sampleProject();
    ASSERT_EQ(saved.sheet.records.size(), 6u);
    ASSERT_EQ(save(saved, dir / "厂区.tvp").why(), "");

    const Project again = load(dir / "厂区.tvp");
    EXPECT_EQ(again.sheet.header, saved.sheet.header);
    ASSERT_EQ(again.sheet.records.size(), saved.sheet.records.size());
    for (std::size_t i = 0; i < saved.sheet.records.size(); ++i) {
        EXPECT_EQ(again.sheet.records[i], saved.sheet.records[i]) << i;
        EXPECT_FALSE(again.sheet.records[i].mismatch) << i;
    }
    EXPECT_EQ(again.openForms, saved.openForms);
    EXPECT_EQ(again, saved);
    EXPECT_EQ(sheetText(again), sheetText(saved));
    // Saved again, the file is the same text: keys in a fixed order, nothing rewritten.
    EXPECT_EQ(serialize(again), readFile(dir / "厂区.tvp"));
}

TEST(ProjectFile, OpenFormsComeBackInAFreshWorkspace) {
    const Project p = parse(serialize(sampleProject()));
    forms::Workspace ws;
    EXPECT_TRUE(ws.restore(p.openForms).empty());
    forms::Form& rx = ws.openWindow("frmRx_DLDanZ");
    EXPECT_EQ(rx.text("CmbH"), "25.50");  // as typed, not as a number
    EXPECT_EQ(rx.text("CmbHx"), " 7");
    EXPECT_TRUE(ws.openWindow("frmDZ_ShuiPing").selected("OptA4"));

    // The impulse press reads the resistance the power-frequency press kept: the restored
    // form converts exactly what the form it was saved from converts.
    forms::Workspace original;
    forms::Form& before = original.openWindow("frmDZ_ChuiZhi");
    before.setSink([](const forms::Message&) {});
    forms::applyAll(before, std::vector{Action::set("CmbGg", "0.05"), Action::set("Cmbρ", "123.4"),
                                        Action::set("CmbL1", "2.5"), Action::set("CmbN", "3"),
                                        Action::press("CmdRun_GP")});
    forms::Form& after = ws.openWindow("frmDZ_ChuiZhi");
    EXPECT_EQ(after.snapshot(), before.snapshot());
    for (forms::Form* f : {&before, &after}) {
        f->setSink([](const forms::Message&) {});
        f->setText("CmbL2", "10");
        f->press("CmdRun_CJ");
    }
    ASSERT_FALSE(before.text("PicRi").empty());
    EXPECT_EQ(after.text("PicRi"), before.text("PicRi"));
}

TEST(ProjectFile, KeptValuesReadBackBitForBit) {
    // Values with no short decimal form, the smallest and largest magnitudes, negatives.
    for (const float v : {0.1f, 1.0f / 3, 16.100271f, 1e-38f, 1.4e-45f, 3.4028235e38f, -7.25f}) {
        Project p;
        p.openForms.push_back(forms::Form(*forms::findForm("frmDZ_XT")).snapshot());
        p.openForms.back().kept.begin()->second = v;
        const Project q = parse(serialize(p));
        EXPECT_EQ(q.openForms.back().kept.begin()->second, v);
    }
}

TEST(ProjectFile, IsReadableJsonWithNumbersAsTyped) {
    const auto doc = nlohmann::ordered_json::parse(serialize(sampleProject()));
    std::vector<std::string> keys;
    for (const auto& [k, v] : doc.items()) keys.push_back(k);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"format", "version", "header", "records", "open_forms"}));
    EXPECT_EQ(doc["format"], "tervalen-project");
    EXPECT_EQ(doc["version"], 1);
    const auto& rod = doc["records"][0];
    EXPECT_EQ(rod["actions"], nlohmann::ordered_json({"CmbH=20", "CmbHx=5", "--press", "CmdRun"}));
    EXPECT_EQ(rod["requirement"]["text"], "10");
    EXPECT_EQ(rod["results"][0]["value"], "11.70115");
    EXPECT_EQ(doc["records"][1]["actions"][0], "--pick");
    EXPECT_EQ(doc["records"][1]["label"], "屋面 东侧 避雷针");
    EXPECT_EQ(doc["open_forms"][0]["controls"]["CmbH"]["text"], "25.50");
    // Indented, one value a line.
    EXPECT_NE(serialize(sampleProject()).find("\n  \"version\": 1,\n"), std::string::npos);
}

// The sample's text with one edit made to its JSON.
template <class Edit>
std::string edited(Edit edit) {
    auto doc = nlohmann::ordered_json::parse(serialize(sampleProject()));
    edit(doc);
    return doc.dump(2);
}

TEST(Recompute, AResultThatDiffersIsMarkedWithBothValues) {
    // As if an earlier version had computed Rx = 11.70 and Ri otherwise.
    const Project p = parse(edited([](auto& doc) {
        doc["records"][0]["results"][0]["value"] = "11.70";
        doc["records"][3]["results"].back()["value"] = "99.5";
    }));
    const sheet::SheetRecord& rod = p.sheet.records[0];
    ASSERT_TRUE(rod.mismatch);
    EXPECT_FALSE(rod.mismatch->refused);
    EXPECT_EQ(rod.results[0].value, "11.70115");  // computed now
    EXPECT_EQ(rod.mismatch->savedResults[0].value, "11.70");
    ASSERT_TRUE(p.sheet.records[3].mismatch);
    for (int i : {1, 2, 4, 5}) EXPECT_FALSE(p.sheet.records[i].mismatch) << i;

    const std::string text =
        sheet::plainText(sheet::sheetDocument(p.sheet.header, p.sheet.records));
    const std::string section = sheet::plainText(sheet::recordDocument(rod, 1));
    EXPECT_NE(section.find("结果与保存时不同"), std::string::npos);
    // The row of Rx gives the saved value, then the one computed now.
    EXPECT_NE(section.find("Rx    避雷针在Hx高度的平面上的保护半径  11.70   11.70115  m"),
              std::string::npos)
        << section;
    EXPECT_EQ(
        sheet::plainText(sheet::recordDocument(p.sheet.records[1], 2)).find("结果与保存时不同"),
        std::string::npos);

    // Saved again, the file keeps what was saved, not what was computed now.
    const auto doc = nlohmann::ordered_json::parse(serialize(p));
    EXPECT_EQ(doc["records"][0]["results"][0]["value"], "11.70");
}

TEST(Recompute, ARecordRefusedNowIsKeptWithWhatWasSaved) {
    // Actions this version refuses (as a later one may refuse what an earlier one took).
    const Project p = parse(edited([](auto& doc) {
        doc["records"][0]["actions"] = {"CmbH=abc", "CmbHx=5", "--press", "CmdRun"};
    }));
    ASSERT_EQ(p.sheet.records.size(), 6u);
    const sheet::SheetRecord& r = p.sheet.records[0];
    ASSERT_TRUE(r.mismatch);
    EXPECT_TRUE(r.mismatch->refused);
    EXPECT_NE(r.mismatch->reason.find("H"), std::string::npos) << r.mismatch->reason;
    EXPECT_EQ(r.mismatch->reason.find('\n'), std::string::npos);
    const Project good = sampleProject();
    EXPECT_EQ(r.results, good.sheet.records[0].results);
    EXPECT_EQ(r.working, good.sheet.records[0].working);
    EXPECT_EQ(r.label, good.sheet.records[0].label);
    EXPECT_EQ(r.requirement, good.sheet.records[0].requirement);
    // The inputs as the actions give them.
    EXPECT_NE(
        std::find(r.known.begin(), r.known.end(), sheet::Quantity{"H", "避雷针高度", "abc", "m"}),
        r.known.end());

    const std::string section = sheet::plainText(sheet::recordDocument(r, 1));
    EXPECT_NE(section.find("结果与保存时不同：按保存的操作重新计算未得出结果"), std::string::npos)
        << section;
    EXPECT_NE(section.find("11.70115"), std::string::npos);
    // And it survives another save and load unchanged.
    EXPECT_EQ(parse(serialize(p)), p);
}

// The sheet's edition of the code travels in the header; a file from before it had one
// cited the 1994 edition and keeps doing so.
TEST(ProjectFile, TheSheetsEditionIsKeptAndAnOlderFileCitesTheOlderEdition) {
    const Project p = sampleProject();
    EXPECT_EQ(p.sheet.header.edition, CodeEdition::GB50057_2010);
    EXPECT_EQ(nlohmann::ordered_json::parse(serialize(p))["header"]["edition"], "2010");
    const Project older = parse(edited([](auto& doc) { doc["header"].erase("edition"); }));
    EXPECT_EQ(older.sheet.header.edition, CodeEdition::GB50057_94);
    const Project chosen = parse(edited([](auto& doc) { doc["header"]["edition"] = "1994"; }));
    EXPECT_EQ(chosen.sheet.header.edition, CodeEdition::GB50057_94);
    EXPECT_THROW(parse(edited([](auto& doc) { doc["header"]["edition"] = "2000"; })), ProjectError);
}

// The cover's fields and the page option travel in the header; a file from before them
// reads with them empty (and the records one after another); a wrong kind is refused.
TEST(ProjectFile, TheCoversFieldsAreKeptAndAnOlderFileHasThemEmpty) {
    const Project p = sampleProject();
    const auto header = nlohmann::ordered_json::parse(serialize(p))["header"];
    EXPECT_EQ(header["number"], "JS-2024-017");
    EXPECT_EQ(header["checker_date"], "2024-05-18");
    EXPECT_EQ(header["record_per_page"], true);
    const Project older = parse(edited([](auto& doc) {
        for (const char* k : {"number", "revision", "approver", "calculator_date", "checker_date",
                              "reviewer_date", "approver_date", "record_per_page"})
            doc["header"].erase(k);
    }));
    sheet::SheetHeader expected = p.sheet.header;
    expected.number = expected.revision = expected.approver = expected.checkerDate = "";
    expected.recordPerPage = false;
    EXPECT_EQ(older.sheet.header, expected);
    EXPECT_EQ(older.sheet.records, p.sheet.records);
    EXPECT_THROW(parse(edited([](auto& doc) { doc["header"]["record_per_page"] = "yes"; })),
                 ProjectError);
    EXPECT_THROW(parse(edited([](auto& doc) { doc["header"]["approver"] = 3; })), ProjectError);
}

// What a press gives no more is not judged by what it once gave: a saved Ri = 0 Ω from an
// impulse press without a power-frequency one passed its requirement; so did the refused
// record above.
TEST(Recompute, ARecordRefusedNowPassesNoRequirement) {
    const Project p = parse(edited([](auto& doc) {
        doc["records"][0]["actions"] = {"CmbH=abc", "CmbHx=5", "--press", "CmdRun"};
        doc["records"][3]["actions"] = {"Cmbρ=300", "CmbL2=10", "--press", "CmdRun_CJ"};
        doc["records"][3]["results"][0]["value"] = "0";
    }));
    for (std::size_t i : {0u, 3u}) {
        const sheet::SheetRecord& r = p.sheet.records[i];
        ASSERT_TRUE(r.mismatch && r.mismatch->refused) << i;
        ASSERT_TRUE(r.requirement) << i;
        const sheet::Conclusion c = sheet::conclusionOf(r);
        EXPECT_EQ(c.satisfied, false) << c.text;
        EXPECT_NE(c.text.find("重新计算未得出结果"), std::string::npos) << c.text;
    }
    EXPECT_NE(p.sheet.records[3].mismatch->reason.find("请先求工频电阻"), std::string::npos);
}

// A record whose searches would climb for long (a 9 km sphere, pressed 16 times by Enter
// typed into a box: some 14 million steps) is stopped after its budget of steps and kept
// as saved, marked with what stopped it; the records after it are computed in full, each
// with a budget of its own. Reading computes each record once, and shows each one's form
// as it ended to whoever asks, in order.
TEST(Recompute, ARecordThatSearchesTooLongIsStoppedAndKeptAsSaved) {
    const std::string text = edited([](auto& doc) {
        doc["records"][2]["actions"] = {
            "CmbHr=9000", "CmbRxo=8999.9", "CmbHx=0", "--type", "CmbRxo=" + std::string(15, '\r'),
            "--press",    "CmdRun"};
    });
    std::vector<std::string> watched;
    std::vector<std::size_t> budgetMessages;
    const Project p = parse(text, [&](const forms::Form& form, const auto& said) {
        watched.push_back(form.name());
        budgetMessages.push_back(std::count_if(said.begin(), said.end(), [](const auto& m) {
            return m.text == StepBudgetSpent(kMaxStepsPerRecord).what();
        }));
    });
    EXPECT_EQ(watched, (std::vector<std::string>{"frmRx_DLDanZ", "frmRx_JSDanZ", "frmH_DLDanZ",
                                                 "frmDZ_ChuiZhi", "frmDZ_ShuiPing", "frmLJCS"}));
    // Every one of its 16 presses says so; no other record meets the budget.
    EXPECT_EQ(budgetMessages, (std::vector<std::size_t>{0, 0, 16, 0, 0, 0}));

    const Project good = sampleProject();
    const sheet::SheetRecord& r = p.sheet.records[2];
    ASSERT_TRUE(r.mismatch);
    EXPECT_TRUE(r.mismatch->refused);
    EXPECT_EQ(r.mismatch->reason, "高度搜索超过 200000 步的上限，未算完");
    EXPECT_EQ(r.results, good.sheet.records[2].results);
    EXPECT_NE(
        std::find(r.known.begin(), r.known.end(), sheet::Quantity{"Hr", "滚球半径", "9000", "m"}),
        r.known.end());
    for (int i : {0, 1, 3, 4, 5}) {
        EXPECT_FALSE(p.sheet.records[i].mismatch) << i;
        EXPECT_EQ(p.sheet.records[i].results, good.sheet.records[i].results) << i;
    }
    EXPECT_NE(sheetText(p).find("高度搜索超过 200000 步的上限"), std::string::npos);
    EXPECT_EQ(parse(serialize(p)), p);
}

struct LongestSearch {
    const char* form;
    std::vector<Action> inputs;
};

std::ostream& operator<<(std::ostream& o, const LongestSearch& c) {
    return o << c.form;
}

class RecordBudget : public ::testing::TestWithParam<LongestSearch> {};

// Every height form at the largest listed sphere radius, with a requirement out of reach
// so that its searches climb to their bound, pressed as often as a record may press: the
// budget of a record read from a file holds it, so no record of a real design is stopped.
TEST_P(RecordBudget, HoldsTheLongestSearchesAtTheListedRadiiPressedAsOftenAsARecordMay) {
    const LongestSearch& c = GetParam();
    forms::Form form(*forms::findForm(c.form));
    std::vector<std::string> said;
    form.setSink([&](const forms::Message& m) { said.push_back(m.text); });
    forms::applyAll(form, c.inputs);
    const StepBudget budget(kMaxStepsPerRecord);
    for (int press = 0; press < 16; ++press) form.press("CmdRun");
    EXPECT_LT(budget.used(), kMaxStepsPerRecord);
    EXPECT_GT(budget.used(), 16 * 5'000);  // the searches did climb (to some 60 m each press)
    for (const std::string& m : said) EXPECT_EQ(m.find("步的上限"), std::string::npos) << m;
}

INSTANTIATE_TEST_SUITE_P(
    HeightForms, RecordBudget,
    ::testing::Values(LongestSearch{"frmH_DLDanZ",
                                    {Action::set("CmbHr", "60"), Action::set("CmbRxo", "60"),
                                     Action::set("CmbHx", "1")}},
                      LongestSearch{"frmH_JSDanZ",
                                    {Action::pick("CmbYesNo", "否"), Action::set("CmbHr", "60"),
                                     Action::set("CmbRxo", "60"), Action::set("CmbHx", "1"),
                                     Action::set("CmbG", "1")}},
                      LongestSearch{"frmH_DLShuangZ",
                                    {Action::set("CmbHr", "60"), Action::set("CmbBxo", "59.99"),
                                     Action::set("CmbHx", "0"), Action::set("CmbD", "4")}},
                      LongestSearch{"frmH_JSShuangZ",
                                    {Action::pick("CmbYesNo", "否"), Action::set("CmbHr", "60"),
                                     Action::set("CmbBxo", "59.99"), Action::set("CmbHx", "0"),
                                     Action::set("CmbD", "4"), Action::set("CmbG", "1")}},
                      LongestSearch{"frmH_DLSanZ",
                                    {Action::set("CmbHr", "60"), Action::set("CmbBxo", "59.99"),
                                     Action::set("CmbHx", "0"), Action::set("CmbL", "4")}},
                      LongestSearch{"frmH_DLSiZ",
                                    {Action::set("CmbHr", "60"), Action::set("CmbBxo", "59.99"),
                                     Action::set("CmbHx", "0"), Action::set("CmbL", "4")}},
                      LongestSearch{"frmH_BDGShuangZ",
                                    {Action::set("CmbHr", "60"), Action::set("CmbH1", "60"),
                                     Action::set("CmbD", "4"), Action::set("CmbHx", "0"),
                                     Action::set("CmbBxo", "60")}},
                      LongestSearch{"frmH_DanX",
                                    {Action::set("CmbHr", "60"), Action::set("CmbBx1o", "60"),
                                     Action::set("CmbHx", "0"), Action::set("CmbD", "100")}},
                      LongestSearch{"frmH_ShuangX",
                                    {Action::set("CmbHr", "60"), Action::set("CmbHoo", "200"),
                                     Action::set("CmbHx", "0"), Action::set("CmbD1", "100"),
                                     Action::set("CmbD2", "20")}}),
    [](const auto& info) { return std::string(info.param.form); });

// The settings a record and an open form were computed with (the code edition of the
// annual strikes) are saved and reproduce them; a file without them is the default.
TEST(ProjectFile, TheSettingsTravelWithRecordsAndOpenForms) {
    const std::vector<Action> strikes = {Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                                         Action::set("CmbW", "20"), Action::set("CmbH", "30"),
                                         Action::press("CmdRun")};
    const forms::Settings chosen = {{"edition", "2010"}, {"use", "civil"}};
    Project p = sampleProject();
    p.sheet.add(*sheet::replay(*forms::findForm("frmLJCS"), chosen, strikes));
    forms::Form open(*forms::findForm("frmLJCS"));
    open.setSettings(chosen);
    forms::applyAll(open, strikes);
    p.openForms.push_back(open.snapshot());

    const std::string text = serialize(p);
    const Project again = parse(text);
    EXPECT_EQ(again, p);
    const sheet::SheetRecord& r = again.sheet.records.back();
    EXPECT_FALSE(r.mismatch);
    EXPECT_EQ(r.results[0].value, "0.1080805");
    forms::Form restored(*forms::findForm("frmLJCS"));
    ASSERT_TRUE(restored.restore(again.openForms.back()).empty());
    EXPECT_EQ(restored.setting("edition"), "2010");
    EXPECT_EQ(restored.text("PicN"), " 0.1080805");

    auto doc = nlohmann::ordered_json::parse(text);
    EXPECT_EQ(doc["records"].back()["settings"],
              nlohmann::ordered_json({{"edition", "2010"}, {"use", "civil"}}));
    EXPECT_EQ(doc["open_forms"].back()["settings"]["edition"], "2010");
    EXPECT_FALSE(doc["records"][0].contains("settings")) << "a form without settings has none";

    // Without them the record is computed by the default edition, and marked.
    doc["records"].back().erase("settings");
    const sheet::SheetRecord old = parse(doc.dump(2)).sheet.records.back();
    ASSERT_TRUE(old.mismatch);
    EXPECT_EQ(old.results[0].value, "0.07844704");
    EXPECT_EQ(old.mismatch->savedResults[0].value, "0.1080805");
}

struct Damaged {
    const char* what;
    std::string text;
    std::string says;  // a part of the message
};

// The text with the one place of `from` replaced.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::vector<Damaged> damagedFiles() {
    using Json = nlohmann::ordered_json;
    const std::string good = serialize(sampleProject());
    return {
        {"empty", "", "文件是空的"},
        {"blank", " \n\t\n", "文件是空的"},
        {"not JSON", "{\n  \"format\": tervalen\n}\n", "不是有效的 JSON，第 2 行第 14 列"},
        {"not JSON after Chinese text", "{\"header\": \"某厂区\" x}", "第 1 行第 18 列"},
        {"not UTF-8", "{\"format\": \"\xff\"}", "不是有效的 JSON"},
        {"truncated", good.substr(0, good.size() / 2), "文件不完整"},
        {"text after the document", good + "}", "不是有效的 JSON"},
        // The JSON library stops reading at a NUL byte: what follows must not go unseen.
        {"NUL bytes and more after the document", good + std::string("\0\0{\"x\": 1}", 10),
         "空字符"},
        // The last one would win, and the next save would drop every record.
        {"a key twice", good.substr(0, good.rfind('}')) + ",\n  \"records\": []\n}\n",
         "同一对象中的键 “records” 出现了不止一次"},
        {"a key twice in a record",
         replaced(good, "\"form\": \"frmRx_DLDanZ\",",
                  "\"form\": \"frmRx_DLDanZ\", \"form\": \"x\","),
         "键 “form” 出现了不止一次"},
        {"a number too large", replaced(good, "\"version\": 1,", "\"version\": 1e999,"),
         "超出范围的数字"},
        {"a million digits",
         replaced(good, "\"version\": 1,", "\"version\": 1" + std::string(1000000, '7') + ","),
         "超出范围的数字"},
        {"the largest version",
         replaced(good, "\"version\": 1,", "\"version\": 18446744073709551615,"),
         "由更新版本的 Tervalen 保存（文件版本 18446744073709551615"},
        {"a negative version", edited([](Json& d) { d["version"] = -1; }), "应为正整数"},
        // Names from the file are quoted on one line, control characters escaped.
        {"a form named with markup and control characters",
         edited([](Json& d) { d["records"][0]["form"] = "<img src=\"/dev/zero\">\r\n\x1b[2J"; }),
         "“<img src=\"/dev/zero\">\\r\\n\\x1b[2J” 本程序没有"},
        // Each press is replayed on reading, each may search a million steps.
        {"a record pressing too often", edited([](Json& d) {
             Json& actions = d["records"][0]["actions"];
             actions =
                 Json::array({"--type", "CmbH=20" + std::string(40, '\r'), "--press", "CmdRun"});
         }),
         "第 1 条计算记录的 “actions” 要按下计算按钮 41 次，超过每条记录 16 次的上限"},
        {"a record of seventeen presses", edited([](Json& d) {
             Json& actions = d["records"][0]["actions"];
             for (int i = 0; i < 16; ++i) actions.push_back("--press"), actions.push_back("CmdRun");
         }),
         "要按下计算按钮 17 次"},
        {"a form named with a megabyte",
         edited([](Json& d) { d["records"][0]["form"] = std::string(1 << 20, 'x'); }),
         "“" + std::string(60, 'x') + "…” 本程序没有"},
        {"a list", "[1, 2]", "不是 Tervalen 工程文件"},
        {"another format", edited([](Json& d) { d["format"] = "tervalen-drawing"; }),
         "不是 Tervalen 工程文件"},
        {"no format", edited([](Json& d) { d.erase("format"); }), "不是 Tervalen 工程文件"},
        {"newer version", edited([](Json& d) { d["version"] = 3; }), "由更新版本的 Tervalen 保存"},
        {"version as text", edited([](Json& d) { d["version"] = "1"; }), "应为正整数"},
        {"version not whole", edited([](Json& d) { d["version"] = 1.5; }), "应为正整数"},
        {"version zero", edited([](Json& d) { d["version"] = 0; }), "应为正整数"},
        {"no records", edited([](Json& d) { d.erase("records"); }), "缺少 “records”"},
        {"header not an object", edited([](Json& d) { d["header"] = "x"; }), "表头应为对象"},
        {"label a number", edited([](Json& d) { d["records"][1]["label"] = 5; }),
         "第 2 条计算记录的 “label” 应为文本"},
        {"unknown form", edited([](Json& d) { d["records"][2]["form"] = "frmRx_Nine"; }),
         "第 3 条计算记录的计算表 “frmRx_Nine” 本程序没有"},
        {"unknown open form", edited([](Json& d) { d["open_forms"][1]["form"] = "frmQ"; }),
         "第 2 个打开的计算表的计算表 “frmQ” 本程序没有"},
        {"unknown control", edited([](Json& d) { d["records"][0]["actions"][0] = "CmbQ=20"; }),
         "第 1 条计算记录的 “actions” 有无法识别的控件或操作"},
        {"unknown action", edited([](Json& d) { d["records"][0]["actions"][2] = "--push"; }),
         "无法识别的控件或操作"},
        {"unknown button", edited([](Json& d) { d["records"][0]["actions"][3] = "CmdGo"; }),
         "无法识别的控件或操作"},
        {"an action not text", edited([](Json& d) { d["records"][0]["actions"][0] = 20; }),
         "应为文本的数组"},
        {"no press at the end", edited([](Json& d) { d["records"][0]["actions"] = {"CmbH=20"}; }),
         "应以按下计算按钮结束"},
        {"unknown control of an open form", edited([](Json& d) {
             d["open_forms"][0]["controls"]["CmbQ"] = {{"text", "1"}};
         }),
         "第 1 个打开的计算表有本程序不认识的控件或保存值"},
        {"unknown kept value", edited([](Json& d) { d["open_forms"][2]["kept"]["Q"] = "1"; }),
         "不认识"},
        {"kept value not a number",
         edited([](Json& d) { d["open_forms"][2]["kept"]["R"] = "1,5"; }), "应为数字的文本"},
        {"kept value not finite", edited([](Json& d) { d["open_forms"][2]["kept"]["R"] = "nan"; }),
         "应为数字的文本"},
        {"unknown control in kept_from",
         edited([](Json& d) { d["open_forms"][2]["kept_from"][0] = "CmbQ=1"; }),
         "无法识别的控件或操作"},
        {"requirement not a number",
         edited([](Json& d) { d["records"][0]["requirement"]["text"] = "十"; }),
         "第 1 条计算记录的要求值有误：要求值应为数字"},
        {"requirement of a result the form has not",
         edited([](Json& d) { d["records"][0]["requirement"]["compared_with"] = "Q"; }),
         "没有可比较的结果 Q"},
        {"unknown edition",
         edited([](Json& d) { d["records"][5]["settings"]["edition"] = "2000"; }),
         "第 6 条计算记录的设置 “edition” 没有选项 “2000”"},
        {"unknown setting", edited([](Json& d) { d["records"][5]["settings"]["colour"] = "red"; }),
         "第 6 条计算记录的设置 “colour” 本程序没有"},
        {"a setting not text", edited([](Json& d) { d["records"][5]["settings"]["use"] = 1; }),
         "第 6 条计算记录的设置 “use” 应为文本"},
        {"settings of an open form that has none", edited([](Json& d) {
             d["open_forms"][0]["settings"] = {{"edition", "2010"}};
         }),
         "第 1 个打开的计算表的设置 “edition” 本程序没有"},
        {"a result without its value",
         edited([](Json& d) { d["records"][5]["results"][0].erase("value"); }),
         "第 6 条计算记录的 “results” 第 1 项缺少 “value”"},
    };
}

TEST(DamagedFile, EachIsRefusedWithOneLineNamingTheFile) {
    ScratchFolder dir;
    const Project current = sampleProject();
    for (const Damaged& d : damagedFiles()) {
        SCOPED_TRACE(d.what);
        const auto file = dir / "损坏.tvp";
        writeFile(file, d.text);
        Project open = current;
        try {
            open = load(file);
            ADD_FAILURE() << "read as a project";
        } catch (const ProjectError& e) {
            const std::string m = e.what();
            EXPECT_EQ(m.rfind("无法打开工程文件“" + file.string() + "”：", 0), 0u) << m;
            EXPECT_NE(m.find(d.says), std::string::npos) << m;
            EXPECT_TRUE(std::none_of(m.begin(), m.end(), [](char c) { return c >= 0 && c < 0x20; }))
                << m;
            EXPECT_LT(m.size(), 1000u) << m.substr(0, 1000);
        }
        EXPECT_EQ(open, current);
        EXPECT_EQ(readFile(file), d.text);
    }
}

TEST(DamagedFile, EveryCutOfAGoodFileIsIncomplete) {
    const std::string good = serialize(sampleProject());
    std::mt19937 random(14);
    // The last two characters are "}\n": any shorter cut leaves the document unfinished.
    std::uniform_int_distribution<std::size_t> cut(1, good.size() - 2);
    for (int i = 0; i < 200; ++i) {
        const std::size_t n = cut(random);
        try {
            parse(good.substr(0, n));
            ADD_FAILURE() << "a cut at " << n << " read as a project";
        } catch (const ProjectError& e) {
            EXPECT_NE(std::string(e.what()).find("文件不完整"), std::string::npos)
                << n << ": " << e.what();
        }
    }
}

TEST(DamagedFile, AFileThatCannotBeRead) {
    ScratchFolder dir;
    const std::vector<std::pair<std::filesystem::path, std::string>> cases = {
        {dir / "没有.tvp", "No such file or directory"},
        {dir.path(), "Is a directory"},
    };
    for (const auto& [file, reason] : cases) {
        try {
            load(file);
            ADD_FAILURE() << file;
        } catch (const ProjectError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("“" + file.string() + "”"), std::string::npos) << m;
            EXPECT_NE(m.find(reason), std::string::npos) << m;
        }
    }
}

}  // namespace
}  // namespace tervalen::project
