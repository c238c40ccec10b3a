#pragma once
// A calculator form described as data: its frames, rows and controls (caption, default
// text, list, key filter, refusal text), plus the handlers bound to its buttons and
// list picks. The same
// description drives the toolkit-free form logic, the headless driver and the Qt view.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "forms/key_filter.h"

namespace tervalen::forms {

class Form;
using Handler = std::function<void(Form&)>;

enum class Kind { Label, Input, Result, Button, Option, Picture, Line };

// Properties of a control that handlers change at run time.
enum Prop : unsigned { kCaption = 1u, kVisible = 2u, kEnabled = 4u };

struct Control {
    Kind kind = Kind::Label;
    std::string name;  // the control's name ("CmbHx"); may be empty for a plain label
    std::string text;  // caption of a label or button, default text of an input box
    // Input boxes
    std::vector<std::string> list;  // suggested values (a drop-down box when not empty)
    KeyFilter filter = KeyFilter::None;
    std::string refusal;  // key-filter refusal text
    std::string symbol;   // how messages name the quantity ("Hx"); derived from the name if empty
    // Presentation, in pixels within the frame; 0 or -1 means "the kind's default"
    int x = -1, y = -1;  // explicit position (shape drawings, options)
    int width = 0, height = 0;
    int x2 = 0, y2 = 0;  // the other end of a Line
    bool wrap = false;   // a label that wraps across the frame's width
    bool red = false;    // a label shown in red
    bool right = false;  // placed at the right end of its row
    // Initial state and run-time changes
    bool visible = true;
    bool enabled = true;
    unsigned dynamic = 0;  // Prop bits that change at run time
    Handler onClick;       // button: its calculate handler; input box: its list-pick handler

    // Builders for the form tables.
    Control numeric(std::string refusalText) const;
    Control digitsOnly(std::string refusalText) const;
    Control withList(std::vector<std::string> entries) const;
    Control named(std::string symbolText) const;
    Control sized(int w, int h = 0) const;
    Control at(int px, int py) const;
    Control hidden() const;
    Control changes(unsigned props) const;
    Control onPick(Handler h) const;
    Control inRed() const;
    Control atRight() const;
};

using Row = std::vector<Control>;

struct Frame {
    std::string name;
    std::string caption;
    std::vector<Row> rows;
    int height = 0;  // fixed inner height in pixels for frames of positioned controls
};

// A choice the calculation follows that is no control of the form's column (the edition
// of the code, say): shown beside the form, it travels with the form's state, the record
// of each press and the form's snapshot, and is set again before a record's actions are
// replayed, so that what was computed can be computed again.
struct Choice {
    std::string value;  // as stored and as the driver takes it ("2010")
    std::string text;   // as shown ("GB 50057-2010")
};
struct Setting {
    std::string name;             // "edition"
    std::string caption;          // "计算依据："
    std::vector<Choice> choices;  // the first is the default
    bool remembered = false;      // the last choice is kept from one run of the program to the next
    const Choice* find(std::string_view value) const;
};
// Each setting's value, by the setting's name.
using Settings = std::map<std::string, std::string>;

// Where the rest of the program looks a form up, stated with the form so that a new
// form is its unit, its definition and its catalog line.
enum class Family {
    Range,     // a protection range: a requirement compares a width or radius at Hx
    Height,    // a height search: the result is stated against the target it was given
    Earthing,  // a resistance: a requirement is the highest resistance allowed
    Other,
};

// Where the code of practice gives the method a button follows, for the sheet's 计算依据.
struct Citation {
    std::string button = {};  // empty: every button of the form
    // The part of each edition that gives the method; both empty when the basis is a
    // formula only (then `text` is that formula).
    std::string part94 = {}, part2010 = {};
    std::string text = {};              // after the 2010 edition's part, or the formula
    std::string text94 = "（滚球法）";  // after the older edition's part
};

// The form's entry in the main window's menus: the top menu it belongs to, the submenu
// within it (opened by the first form that names it), and the entry.
struct MenuPlace {
    std::string menu = {};                          // "mnuRx"
    std::string submenu = {}, submenuCaption = {};  // "mnuRx_DanZ", "单针保护范围"; or empty
    std::string name = {};                          // "mnuRx_DLDanZ"
    std::string caption = {};                       // "独立单针保护范围"
    std::string separatorBefore = {};               // a separator's name before the entry, or empty
};

// A result the form names only by a shared heading or not at all, as a reviewer reads it.
struct ResultName {
    std::string symbol = {};  // "Hc"
    std::string name = {};    // "避雷线弧垂"
};

struct FormDef {
    std::string name;     // "frmRx_DLDanZ"
    std::string caption;  // window caption, also its key in the open-window list
    std::vector<Frame> frames;
    std::vector<Control> buttons;  // the row below the frames
    std::string defaultButton;     // pressed by Enter; empty: Enter reaches the key filter
    std::string cancelButton;      // pressed by Escape; empty: Escape does nothing
    bool centredButtons = false;
    // The values the form keeps outside its controls (Form::kept), by name.
    std::vector<std::string> kept = {};
    // The choices beside the form (none for most forms).
    std::vector<Setting> settings = {};

    // What the rest of the program needs to know of the form.
    Family family = Family::Other;
    bool drawn = false;  // a press draws a protection range (section and plan)
    // A width requirement is compared with the narrower of the form's widths (one wire:
    // narrowest at mid-span below the sphere's radius, at the supports above it).
    bool narrowerWidthCounts = false;
    std::vector<Citation> basis = {};
    MenuPlace menu = {};
    std::vector<ResultName> resultNames = {};
    // The unit of a box whose row names none ("m" for lengths on a plan); empty: none.
    std::string unitOfUnlabelled = {};
    const Setting* setting(std::string_view name) const;
};

// Control builders
Control label(std::string name, std::string text);
Control label(std::string text);
Control paragraph(std::string name, std::string text);  // wraps across the frame
Control input(std::string name, std::string defaultText = {});
Control result(std::string name);
Control button(std::string name, std::string caption, Handler onClick);
Control option(std::string name);
Control picture(std::string kind, int width, int height);
Control line(std::string name, int x1, int y1, int x2, int y2);

// The pieces that recur across the forms.
inline const char* const kMetres = "单位：米";
Frame descriptionFrame(std::string text);
Frame inputFrame(std::vector<Row> rows);
Frame resultFrame(std::vector<Row> rows);
// An input row: caption label, input box, unit label (omitted when empty).
Row inputRow(std::string labelName, std::string caption, Control box, std::string unit = kMetres);
// The rolling-sphere radius rows: CmbHr with "30", {30, 45, 60}, and its note Lab_Hr2.
std::vector<Row> sphereRadiusRows(KeyFilter filter, std::string refusal = {});
// The equipotential question CmbYesNo ("是", {"是", "否"}).
Row yesNoRow(std::string caption = "建筑整体是否为一个与大地连通的等电位体：");
// A result heading and a row of (prefix, result box) pairs ending with a unit label.
Row heading(std::string name, std::string text);
Row resultRow(const std::vector<std::pair<std::string, std::string>>& prefixAndBox,
              std::string unit = kMetres);
Control closeButton(std::string name = "cmdCancel");

// The bases the forms cite: a rolling-sphere method of the code's appendix on lightning
// protection (the clause of the 2010 edition, and what it covers); the conversion of a
// power-frequency resistance to the impulse one, for `button`; a formula of its own.
Citation sphereMethod(const std::string& clause2010, std::string text);
Citation impulseConversion(std::string button);
Citation formula(std::string button, std::string text);

// Concatenates groups of rows.
std::vector<Row> rows(std::initializer_list<std::vector<Row>> groups);

}  // namespace tervalen::forms
