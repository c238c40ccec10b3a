#include "forms/form_def.h"

#include "forms/form.h"

namespace tervalen::forms {

const Choice* Setting::find(std::string_view value) const {
    for (const Choice& c : choices)
        if (c.value == value) return &c;
    return nullptr;
}

const Setting* FormDef::setting(std::string_view name) const {
    for (const Setting& s : settings)
        if (s.name == name) return &s;
    return nullptr;
}

Control Control::numeric(std::string refusalText) const {
    Control c = *this;
    c.filter = KeyFilter::Numeric;
    c.refusal = std::move(refusalText);
    return c;
}
Control Control::digitsOnly(std::string refusalText) const {
    Control c = *this;
    c.filter = KeyFilter::DigitsOnly;
    c.refusal = std::move(refusalText);
    return c;
}
Control Control::withList(std::vector<std::string> entries) const {
    Control c = *this;
    c.list = std::move(entries);
    return c;
}
Control Control::named(std::string symbolText) const {
    Control c = *this;
    c.symbol = std::move(symbolText);
    return c;
}
Control Control::sized(int w, int h) const {
    Control c = *this;
    c.width = w;
    c.height = h;
    return c;
}
Control Control::at(int px, int py) const {
    Control c = *this;
    c.x = px;
    c.y = py;
    return c;
}
Control Control::hidden() const {
    Control c = *this;
    c.visible = false;
    return c;
}
Control Control::changes(unsigned props) const {
    Control c = *this;
    c.dynamic |= props;
    return c;
}
Control Control::onPick(Handler h) const {
    Control c = *this;
    c.onClick = std::move(h);
    return c;
}
Control Control::inRed() const {
    Control c = *this;
    c.red = true;
    return c;
}
Control Control::atRight() const {
    Control c = *this;
    c.right = true;
    return c;
}

Control label(std::string name, std::string text) {
    Control c;
    c.kind = Kind::Label;
    c.name = std::move(name);
    c.text = std::move(text);
    return c;
}
Control label(std::string text) {
    return label({}, std::move(text));
}

Control paragraph(std::string name, std::string text) {
    Control c = label(std::move(name), std::move(text));
    c.wrap = true;
    return c;
}

Control input(std::string name, std::string defaultText) {
    Control c;
    c.kind = Kind::Input;
    c.name = std::move(name);
    c.text = std::move(defaultText);
    return c;
}

Control result(std::string name) {
    Control c;
    c.kind = Kind::Result;
    c.name = std::move(name);
    return c;
}

Control button(std::string name, std::string caption, Handler onClick) {
    Control c;
    c.kind = Kind::Button;
    c.name = std::move(name);
    c.text = std::move(caption);
    c.onClick = std::move(onClick);
    return c;
}

Control option(std::string name) {
    Control c;
    c.kind = Kind::Option;
    c.name = std::move(name);
    return c;
}

Control picture(std::string kind, int width, int height) {
    Control c;
    c.kind = Kind::Picture;
    c.name = std::move(kind);
    c.width = width;
    c.height = height;
    return c;
}

Control line(std::string name, int x1, int y1, int x2, int y2) {
    Control c;
    c.kind = Kind::Line;
    c.name = std::move(name);
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    return c;
}

Frame descriptionFrame(std::string text) {
    return {"Frame_ShuoMing", "程序说明：", {{paragraph("Label_DLDanZ", std::move(text))}}};
}
Frame inputFrame(std::vector<Row> rows) {
    return {"Frame_ShuRu", "已知数据输入：", std::move(rows)};
}
Frame resultFrame(std::vector<Row> rows) {
    return {"Frame_JieGuo", "计算结果：", std::move(rows)};
}

Row inputRow(std::string labelName, std::string caption, Control box, std::string unit) {
    Row r{label(std::move(labelName), std::move(caption)), std::move(box)};
    if (!unit.empty()) r.push_back(label(std::move(unit)));
    return r;
}

std::vector<Row> sphereRadiusRows(KeyFilter filter, std::string refusal) {
    Control box = input("CmbHr", "30").withList({"30", "45", "60"});
    box.filter = filter;
    box.refusal = std::move(refusal);
    return {inputRow("Lab_Hr", "滚球半径（Hr）：", box),
            {label("Lab_Hr2", "滚球半径说明：一类：30  二类：45  三类：60")}};
}

Row yesNoRow(std::string caption) {
    return inputRow("LabYesNo", std::move(caption),
                    input("CmbYesNo", "是").withList({"是", "否"}).sized(50), {});
}

Row heading(std::string name, std::string text) {
    return {label(std::move(name), std::move(text))};
}

Row resultRow(const std::vector<std::pair<std::string, std::string>>& prefixAndBox,
              std::string unit) {
    Row r;
    for (const auto& [prefix, box] : prefixAndBox) {
        r.push_back(label(prefix));
        r.push_back(result(box));
    }
    if (!unit.empty()) r.push_back(label(std::move(unit)));
    return r;
}

Citation sphereMethod(const std::string& clause2010, std::string text) {
    return {.part94 = "附录四", .part2010 = "附录D " + clause2010, .text = std::move(text)};
}

Citation impulseConversion(std::string button) {
    return {.button = std::move(button),
            .part94 = "附录三",
            .part2010 = "附录C",
            .text = "（接地装置冲击接地电阻与工频接地电阻的换算）",
            .text94 = "（工频接地电阻换算为冲击接地电阻）"};
}

Citation formula(std::string button, std::string text) {
    return {.button = std::move(button), .text = std::move(text)};
}

Control closeButton(std::string name) {
    return button(std::move(name), "关 闭", [](Form& f) { f.close(); });
}

std::vector<Row> rows(std::initializer_list<std::vector<Row>> groups) {
    std::vector<Row> all;
    for (const auto& g : groups) all.insert(all.end(), g.begin(), g.end());
    return all;
}

}  // namespace tervalen::forms
