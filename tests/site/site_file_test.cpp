// The site file: what is written reads back as the same site, byte for byte again, in
// any locale; what is left out takes its default; a damaged file is refused with one line
// that names what is wrong and where.

#include "site/site_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "../sphere/random_sites.h"

namespace tervalen::site {
namespace {

using sphere::Site;

void expectSameSite(const Site& a, const Site& b) {
    EXPECT_EQ(a.hr, b.hr);
    ASSERT_EQ(a.rods.size(), b.rods.size());
    for (std::size_t i = 0; i < a.rods.size(); ++i) {
        EXPECT_EQ(a.rods[i].x, b.rods[i].x);
        EXPECT_EQ(a.rods[i].y, b.rods[i].y);
        EXPECT_EQ(a.rods[i].base, b.rods[i].base);
        EXPECT_EQ(a.rods[i].tip, b.rods[i].tip);
    }
    auto samePoint = [](const sphere::Point3& p, const sphere::Point3& q) {
        return p.x == q.x && p.y == q.y && p.z == q.z;
    };
    ASSERT_EQ(a.conductors.size(), b.conductors.size());
    for (std::size_t i = 0; i < a.conductors.size(); ++i) {
        EXPECT_TRUE(samePoint(a.conductors[i].from, b.conductors[i].from));
        EXPECT_TRUE(samePoint(a.conductors[i].to, b.conductors[i].to));
    }
    ASSERT_EQ(a.wires.size(), b.wires.size());
    for (std::size_t i = 0; i < a.wires.size(); ++i) {
        EXPECT_TRUE(samePoint(a.wires[i].from, b.wires[i].from));
        EXPECT_TRUE(samePoint(a.wires[i].to, b.wires[i].to));
        EXPECT_EQ(a.wires[i].sag, b.wires[i].sag);
    }
    ASSERT_EQ(a.buildings.size(), b.buildings.size());
    for (std::size_t i = 0; i < a.buildings.size(); ++i) {
        EXPECT_EQ(a.buildings[i].name, b.buildings[i].name);
        EXPECT_EQ(a.buildings[i].base, b.buildings[i].base);
        EXPECT_EQ(a.buildings[i].roof, b.buildings[i].roof);
        ASSERT_EQ(a.buildings[i].outline.size(), b.buildings[i].outline.size());
        for (std::size_t k = 0; k < a.buildings[i].outline.size(); ++k) {
            EXPECT_EQ(a.buildings[i].outline[k].x, b.buildings[i].outline[k].x);
            EXPECT_EQ(a.buildings[i].outline[k].y, b.buildings[i].outline[k].y);
        }
    }
}

// A site of every kind of object, with numbers that are hard to write back exactly.
Site sampleSite() {
    Site s;
    s.hr = 45;
    s.rods = {{0, 0, 0, 20}, {0.1, -1e-7, 24, 29.999999999999996}};
    s.conductors = {{{0, 0, 24}, {36.5, 0, 24}}};
    s.wires = {{{-40, 10, 30}, {40, 12.25, 28}, std::nullopt},
               {{-40, -10, 30}, {160, -10, 30}, 2.5}};
    s.buildings = {{"主楼 A\"座\"", {{0, 0}, {36.5, 0}, {36.5, 18}, {0, 18}}, 0, 24},
                   {"", {{50, 0}, {60, 0}, {55, 1e-3}}, 3.75, 10}};
    return s;
}

TEST(SiteFile, WritesTheFormatWithWholeNumbersWholeAndKeysInOrder) {
    Site s;
    s.hr = 45;
    s.rods = {{0, -0.0, 0, 20.5}};
    s.wires = {{{0, 0, 20}, {60, 0, 20}, std::nullopt}};
    s.buildings = {{"主楼", {{0, 0}, {10, 0}, {10, 8}}, 0, 24}};
    EXPECT_EQ(serialize(s), R"({
  "format": "tervalen-site",
  "version": 1,
  "hr": 45,
  "rods": [
    {
      "x": 0,
      "y": 0,
      "base": 0,
      "tip": 20.5
    }
  ],
  "conductors": [],
  "wires": [
    {
      "from": [
        0,
        0,
        20
      ],
      "to": [
        60,
        0,
        20
      ]
    }
  ],
  "buildings": [
    {
      "name": "主楼",
      "outline": [
        [
          0,
          0
        ],
        [
          10,
          0
        ],
        [
          10,
          8
        ]
      ],
      "base": 0,
      "roof": 24
    }
  ]
}
)");
}

TEST(SiteFile, ReadsBackWhatItWroteExactly) {
    std::mt19937 g(7);
    std::vector<Site> sites{sampleSite()};
    for (int i = 0; i < 50; ++i) sites.push_back(sphere::testing_sites::randomSite(g));
    for (const Site& s : sites) {
        ASSERT_EQ(sphere::problemOf(s), "");
        const std::string text = serialize(s);
        const Site back = parse(text);
        expectSameSite(s, back);
        EXPECT_EQ(serialize(back), text);
    }
}

// A user in a comma-decimal locale gets the same file, and reads it the same.
TEST(SiteFile, NumbersDoNotDependOnTheLocale) {
    const std::string text = serialize(sampleSite());
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale here";
    const std::string there = serialize(sampleSite());
    Site back;
    std::string refused;
    try {
        back = parse(text);
    } catch (const SiteError& e) {
        refused = e.what();
    }
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(there, text);
    ASSERT_EQ(refused, "");
    expectSameSite(back, sampleSite());
}

TEST(SiteFile, WhatIsLeftOutTakesItsDefault) {
    const Site s = parse(R"({"format": "tervalen-site", "version": 1, "hr": 30,
        "rods": [{"x": 1, "y": 2, "tip": 15}],
        "wires": [{"from": [0, 0, 20], "to": [80, 0, 20]}],
        "buildings": [{"outline": [[0, 0], [5, 0], [5, 5]], "roof": 9}]})");
    EXPECT_EQ(s.rods.at(0).base, 0);
    EXPECT_TRUE(s.conductors.empty());
    EXPECT_FALSE(s.wires.at(0).sag);
    // The program's sag rule for the 80 m span.
    const auto sag = sphere::sagOf(s.wires.at(0));
    ASSERT_TRUE(sag);
    EXPECT_GT(*sag, 0);
    EXPECT_EQ(s.buildings.at(0).name, "");
    EXPECT_EQ(s.buildings.at(0).base, 0);
}

std::string refusal(const std::string& text) {
    try {
        parse(text);
    } catch (const SiteError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(SiteFile, RefusesADamagedFileSayingWhatAndWhere) {
    const std::string head = R"({"format": "tervalen-site", "version": 1, "hr": 45, )";
    const std::string square = R"("outline": [[0, 0], [10, 0], [10, 10], [0, 10]])";
    const struct {
        std::string text, why;
    } cases[] = {
        {"", "文件是空的"},
        {"[1]", "不是 Tervalen 场地文件（内容不是 JSON 对象）"},
        {R"({"format": "tervalen-project", "version": 1})",
         "不是 Tervalen 场地文件（“format” 不是 “tervalen-site”）"},
        {R"({"format": "tervalen-site", "version": 2, "hr": 45})",
         "由更新版本的 Tervalen 保存（文件版本 2，本程序能读到版本 1）"},
        {R"({"format": "tervalen-site", "version": 1.5, "hr": 45})",
         "场地文件的 “version” 应为正整数"},
        {R"({"format": "tervalen-site", "version": 1})", "场地文件缺少 “hr”"},
        {R"({"format": "tervalen-site", "version": 1, "hr": "45"})", "场地文件的 “hr” 应为数"},
        {R"({"format": "tervalen-site", "version": 1, "hr": -45})",
         "滚球半径 hr 应为大于 0、不超过 1000 m 的数"},
        {R"({"format": "tervalen-site", "version": 1, "hr": 45, "hr": 30})",
         "同一对象中的键 “hr” 出现了不止一次"},
        {R"({"format": "tervalen-site", "version": 1, "hr": 1e400})",
         "不是有效的 JSON，其中有超出范围的数字"},
        {R"({"format": "tervalen-site", "version": 1, "hr": NaN})",
         "不是有效的 JSON，第 1 行第 49 列有误"},
        {R"({"format": "tervalen-site", "version": 1, "hr": 45, "rods": [)",
         "文件不完整，在第 1 行第 62 列处中断"},
        {head + R"("rod": []})", "场地文件有本程序不认识的键 “rod”"},
        {head + R"("rods": {}})", "场地文件的 “rods” 应为数组"},
        {head + R"("rods": [{"x": 0, "y": 0, "tip": 20}, {"x": 1, "y": 0}]})",
         "第 2 根接闪杆缺少 “tip”"},
        {head + R"("rods": [{"x": 0, "y": 0, "tip": true}]})", "第 1 根接闪杆的 “tip” 应为数"},
        {head + R"("rods": [{"x": 0, "y": 0, "base": 10, "tip": 5}]})",
         "第 1 根接闪杆的顶高低于底高"},
        {head + R"("rods": [{"x": 0, "y": 0, "tip": 5, "z": 1}]})",
         "第 1 根接闪杆有本程序不认识的键 “z”"},
        {head + R"("rods": [7]})", "第 1 根接闪杆应为对象"},
        {head + R"("conductors": [{"from": [0, 0], "to": [1, 0, 5]}]})",
         "第 1 根接闪导体的 “from” 应为 3 个数的数组 [x, y, z]"},
        {head + R"("conductors": [{"from": [0, 0, -1], "to": [1, 0, 5]}]})",
         "第 1 根接闪导体的端点不是有限的数、超出 ±100 km 或低于地面"},
        {head + R"("wires": [{"from": [0, 0, 20], "to": [200, 0, 20]}]})",
         "第 1 根接闪线的档距超过 150 m，须给出弧垂 sag"},
        {head + R"("wires": [{"from": [0, 0, 20], "to": [60, 0, 20], "sage": 2}]})",
         "第 1 根接闪线有本程序不认识的键 “sage”"},
        {head + R"("wires": [{"from": [0, 0, 20], "to": [60, 0, 20], "sag": 30}]})",
         "第 1 根接闪线的弧垂过大，最低点低于地面"},
        {head + R"("buildings": [{"outline": [[0, 0], [10, 0]], "roof": 5}]})",
         "第 1 座建筑物的轮廓少于 3 个角点"},
        {head + R"("buildings": [{"outline": [[0, 0], [10, 0], [20, 0]], "roof": 5}]})",
         "第 1 座建筑物的轮廓面积为零"},
        {head + R"("buildings": [{"outline": [[0, 0], [10, 10], [10, 0], [0, 4]], "roof": 5}]})",
         "第 1 座建筑物的轮廓自相交"},
        {head + R"("buildings": [{"outline": [[0, 0], [10, "0"], [0, 10]], "roof": 5}]})",
         "第 1 座建筑物的 “outline” 第 2 个角点应为 2 个数的数组 [x, y]"},
        {head + R"("buildings": [{"outline": {}, "roof": 5}]})",
         "第 1 座建筑物的 “outline” 应为角点 [x, y] 的数组"},
        {head + R"("buildings": [{"name": 3, )" + square + R"(, "roof": 5}]})",
         "第 1 座建筑物的 “name” 应为文本"},
        {head + R"("buildings": [{)" + square + R"(, "base": 6, "roof": 5}]})",
         "第 1 座建筑物的屋面高度低于底高"},
        {head + R"("buildings": [{)" + square + R"(}]})", "第 1 座建筑物缺少 “roof”"},
        // What a message quotes stays on one line.
        {head + "\"r\\nods\": []}", "场地文件有本程序不认识的键 “r\\nods”"},
    };
    for (const auto& c : cases) EXPECT_EQ(refusal(c.text), c.why) << c.text;
}

TEST(SiteFile, SavesWholeAndLoadsNamingTheFile) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("tervalen-site-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "厂区.tvs";
    EXPECT_EQ(save(sampleSite(), file).why(), "");
    expectSameSite(load(file), sampleSite());

    std::ofstream(file, std::ios::trunc) << R"({"format": "tervalen-site", "version": 1})";
    std::string why;
    try {
        load(file);
    } catch (const SiteError& e) {
        why = e.what();
    }
    EXPECT_EQ(why, "无法打开场地文件“" + file.string() + "”：场地文件缺少 “hr”");
    try {
        load(dir / "none.tvs");
    } catch (const SiteError& e) {
        why = e.what();
    }
    EXPECT_TRUE(why.starts_with("无法读取场地文件“" + (dir / "none.tvs").string() + "”：")) << why;
    // A folder is never replaced by a save.
    std::filesystem::create_directory(dir / "folder.tvs");
    EXPECT_TRUE(save(sampleSite(), dir / "folder.tvs").why().starts_with("无法保存场地文件“"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tervalen::site
