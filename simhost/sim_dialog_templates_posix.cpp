// Reads the module's resource script the way the resource compiler does, as
// far as the dialogs go: the preprocessor's #include "..." and #define of
// names, then each DIALOG or DIALOGEX with its STYLE, CAPTION, FONT and
// CONTROL statements; every other block is passed over. Style names are
// the Windows headers' own, from the table below.
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "sim_dialog_templates.h"

namespace {

enum TokenKind { TokenString, TokenNumber, TokenName, TokenPunctuation };

struct Token {
    TokenKind kind;
    std::string text;  // the string's value, the name, the punctuation
    int64_t number;
    std::string where;  // "file:line"
};

// What the script's style expressions and class names may use.
const std::map<std::string, uint32_t>& StyleNames() {
    static const std::map<std::string, uint32_t> names = {
        {"WS_POPUP", 0x80000000u},
        {"WS_CHILD", 0x40000000},
        {"WS_VISIBLE", 0x10000000},
        {"WS_DISABLED", 0x08000000},
        {"WS_CAPTION", 0x00C00000},
        {"WS_BORDER", 0x00800000},
        {"WS_DLGFRAME", 0x00400000},
        {"WS_VSCROLL", 0x00200000},
        {"WS_HSCROLL", 0x00100000},
        {"WS_SYSMENU", 0x00080000},
        {"WS_THICKFRAME", 0x00040000},
        {"WS_GROUP", 0x00020000},
        {"WS_TABSTOP", 0x00010000},
        {"WS_MINIMIZEBOX", 0x00020000},
        {"WS_MAXIMIZEBOX", 0x00010000},
        {"DS_ABSALIGN", 0x01},
        {"DS_SYSMODAL", 0x02},
        {"DS_3DLOOK", 0x04},
        {"DS_FIXEDSYS", 0x08},
        {"DS_NOFAILCREATE", 0x10},
        {"DS_LOCALEDIT", 0x20},
        {"DS_SETFONT", 0x40},
        {"DS_MODALFRAME", 0x80},
        {"DS_NOIDLEMSG", 0x100},
        {"DS_SETFOREGROUND", 0x200},
        {"DS_CONTROL", 0x400},
        {"DS_CENTER", 0x800},
        {"DS_CENTERMOUSE", 0x1000},
        {"DS_CONTEXTHELP", 0x2000},
        {"DS_SHELLFONT", 0x48},
        {"BS_PUSHBUTTON", 0x0},
        {"BS_DEFPUSHBUTTON", 0x1},
        {"BS_CHECKBOX", 0x2},
        {"BS_AUTOCHECKBOX", 0x3},
        {"BS_RADIOBUTTON", 0x4},
        {"BS_3STATE", 0x5},
        {"BS_AUTO3STATE", 0x6},
        {"BS_GROUPBOX", 0x7},
        {"BS_AUTORADIOBUTTON", 0x9},
        {"BS_LEFTTEXT", 0x20},
        {"BS_ICON", 0x40},
        {"BS_BITMAP", 0x80},
        {"BS_LEFT", 0x100},
        {"BS_RIGHT", 0x200},
        {"BS_CENTER", 0x300},
        {"BS_MULTILINE", 0x2000},
        {"BS_PUSHLIKE", 0x1000},
        {"BS_FLAT", 0x8000},
        {"ES_LEFT", 0x0},
        {"ES_CENTER", 0x1},
        {"ES_RIGHT", 0x2},
        {"ES_MULTILINE", 0x4},
        {"ES_UPPERCASE", 0x8},
        {"ES_LOWERCASE", 0x10},
        {"ES_PASSWORD", 0x20},
        {"ES_AUTOVSCROLL", 0x40},
        {"ES_AUTOHSCROLL", 0x80},
        {"ES_NOHIDESEL", 0x100},
        {"ES_READONLY", 0x800},
        {"ES_WANTRETURN", 0x1000},
        {"ES_NUMBER", 0x2000},
        {"SS_LEFT", 0x0},
        {"SS_CENTER", 0x1},
        {"SS_RIGHT", 0x2},
        {"SS_ICON", 0x3},
        {"SS_BLACKRECT", 0x4},
        {"SS_GRAYRECT", 0x5},
        {"SS_WHITERECT", 0x6},
        {"SS_BLACKFRAME", 0x7},
        {"SS_GRAYFRAME", 0x8},
        {"SS_WHITEFRAME", 0x9},
        {"SS_SIMPLE", 0xB},
        {"SS_LEFTNOWORDWRAP", 0xC},
        {"SS_BITMAP", 0xE},
        {"SS_ETCHEDHORZ", 0x10},
        {"SS_ETCHEDVERT", 0x11},
        {"SS_ETCHEDFRAME", 0x12},
        {"SS_NOPREFIX", 0x80},
        {"SS_NOTIFY", 0x100},
        {"SS_CENTERIMAGE", 0x200},
        {"SS_SUNKEN", 0x1000},
        {"CBS_SIMPLE", 0x1},
        {"CBS_DROPDOWN", 0x2},
        {"CBS_DROPDOWNLIST", 0x3},
        {"CBS_AUTOHSCROLL", 0x40},
        {"CBS_OEMCONVERT", 0x80},
        {"CBS_SORT", 0x100},
        {"CBS_HASSTRINGS", 0x200},
        {"CBS_NOINTEGRALHEIGHT", 0x400},
        {"CBS_DISABLENOSCROLL", 0x800},
        {"LBS_NOTIFY", 0x1},
        {"LBS_SORT", 0x2},
        {"LBS_NOREDRAW", 0x4},
        {"LBS_MULTIPLESEL", 0x8},
        {"LBS_HASSTRINGS", 0x40},
        {"LBS_USETABSTOPS", 0x80},
        {"LBS_NOINTEGRALHEIGHT", 0x100},
        {"LBS_MULTICOLUMN", 0x200},
        {"LBS_WANTKEYBOARDINPUT", 0x400},
        {"LBS_EXTENDEDSEL", 0x800},
        {"LBS_DISABLENOSCROLL", 0x1000},
        {"LBS_NOSEL", 0x4000},
        {"UDS_WRAP", 0x1},
        {"UDS_SETBUDDYINT", 0x2},
        {"UDS_ALIGNRIGHT", 0x4},
        {"UDS_ALIGNLEFT", 0x8},
        {"UDS_AUTOBUDDY", 0x10},
        {"UDS_ARROWKEYS", 0x20},
        {"UDS_HORZ", 0x40},
        {"UDS_NOTHOUSANDS", 0x80},
        {"UDS_HOTTRACK", 0x100},
        {"TBS_AUTOTICKS", 0x1},
        {"TBS_VERT", 0x2},
        {"TBS_HORZ", 0x0},
        {"TBS_TOP", 0x4},
        {"TBS_BOTTOM", 0x0},
        {"TBS_LEFT", 0x4},
        {"TBS_RIGHT", 0x0},
        {"TBS_BOTH", 0x8},
        {"TBS_NOTICKS", 0x10},
        {"TBS_ENABLESELRANGE", 0x20},
        {"TBS_FIXEDLENGTH", 0x40},
        {"TBS_NOTHUMB", 0x80},
        {"WS_EX_DLGMODALFRAME", 0x1},
        {"WS_EX_TOPMOST", 0x8},
        {"WS_EX_TOOLWINDOW", 0x80},
        {"WS_EX_WINDOWEDGE", 0x100},
        {"WS_EX_CLIENTEDGE", 0x200},
        {"WS_EX_STATICEDGE", 0x20000},
        {"IDOK", 1},
        {"IDCANCEL", 2},
        {"IDC_STATIC", 0xFFFFFFFFu},
    };
    return names;
}

// Class names of the headers (commctrl.h) and the resource compiler's own.
const std::map<std::string, std::string>& ClassNames() {
    static const std::map<std::string, std::string> names = {
        {"UPDOWN_CLASS", "msctls_updown32"},
        {"HOTKEY_CLASS", "msctls_hotkey32"},
        {"TRACKBAR_CLASS", "msctls_trackbar32"},
        {"BUTTON", "button"},
        {"EDIT", "edit"},
        {"STATIC", "static"},
        {"COMBOBOX", "combobox"},
        {"LISTBOX", "listbox"},
        {"SCROLLBAR", "scrollbar"},
    };
    return names;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// ---------------------------------------------------------------- preprocessor and tokens

struct Preprocessor {
    std::string includeRoot;
    std::map<std::string, std::vector<Token>> macros;
    std::set<std::string> read;
    std::vector<Token> tokens;
    std::string problem;
    bool inComment = false;

    bool Fail(const std::string& where, const std::string& why) {
        if (problem.empty()) problem = where + ": " + why;
        return false;
    }

    // Splits text into tokens; block comments may run on over lines.
    bool Tokenise(const std::string& text, const std::string& where, std::vector<Token>* out) {
        size_t i = 0;
        while (i < text.size()) {
            if (inComment) {
                size_t end = text.find("*/", i);
                if (end == std::string::npos) return true;
                inComment = false;
                i = end + 2;
                continue;
            }
            const char c = text[i];
            if (std::isspace(static_cast<unsigned char>(c))) {
                ++i;
            } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
                return true;
            } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
                inComment = true;
                i += 2;
            } else if (c == '"') {
                std::string value;
                ++i;
                for (;;) {
                    if (i >= text.size()) return Fail(where, "a string runs past the end of its line");
                    char d = text[i++];
                    if (d == '"' && i < text.size() && text[i] == '"') {
                        value.push_back('"');  // "" is a quote in a resource script
                        ++i;
                    } else if (d == '"') {
                        break;
                    } else if (d == '\\' && i < text.size()) {
                        char e = text[i++];
                        value.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e);
                    } else {
                        value.push_back(d);
                    }
                }
                out->push_back(Token{TokenString, value, 0, where});
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                char* end = nullptr;
                int64_t number = std::strtoll(text.c_str() + i, &end, 0);
                i = static_cast<size_t>(end - text.c_str());
                while (i < text.size() && (text[i] == 'L' || text[i] == 'l' || text[i] == 'U' || text[i] == 'u')) ++i;
                out->push_back(Token{TokenNumber, "", number, where});
            } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                size_t start = i;
                while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
                out->push_back(Token{TokenName, text.substr(start, i - start), 0, where});
            } else {
                out->push_back(Token{TokenPunctuation, std::string(1, c), 0, where});
                ++i;
            }
        }
        return true;
    }

    void Expand(const Token& token, std::vector<Token>* out, int depth) {
        auto macro = token.kind == TokenName && depth < 32 ? macros.find(token.text) : macros.end();
        if (macro == macros.end()) {
            out->push_back(token);
            return;
        }
        for (Token replacement : macro->second) {
            replacement.where = token.where;
            Expand(replacement, out, depth + 1);
        }
    }

    bool Include(const std::string& name, const std::string& from, const std::string& where) {
        for (const std::string& folder : {Folder(from), includeRoot}) {
            std::string path = folder + "/" + name;
            if (std::ifstream(path).good()) return Read(path);
        }
        return Fail(where, "cannot find the included \"" + name + "\"");
    }

    bool Directive(const std::string& line, const std::string& path, const std::string& where) {
        size_t start = line.find_first_not_of(" \t", line.find('#') + 1);
        size_t end = line.find_first_of(" \t", start);
        const std::string name = start == std::string::npos ? "" : line.substr(start, end - start);
        const std::string rest = end == std::string::npos ? "" : line.substr(end);
        if (name == "include") {
            size_t open = rest.find('"');
            if (open == std::string::npos) return true;  // <windows.h>: its names are in the tables above
            size_t close = rest.find('"', open + 1);
            if (close == std::string::npos) return Fail(where, "an #include without its closing quote");
            return Include(rest.substr(open + 1, close - open - 1), path, where);
        }
        if (name != "define") return true;  // #pragma, #ifndef and the like change nothing here
        std::vector<Token> words;
        if (!Tokenise(rest, where, &words)) return false;
        if (words.empty() || words[0].kind != TokenName) return Fail(where, "a #define without a name");
        // A macro with parameters cannot appear in a dialog statement.
        size_t afterName = rest.find(words[0].text) + words[0].text.size();
        if (afterName < rest.size() && rest[afterName] == '(') return true;
        macros[words[0].text] = std::vector<Token>(words.begin() + 1, words.end());
        return true;
    }

    bool Read(const std::string& path) {
        if (!read.insert(path).second) return true;
        std::ifstream in(path);
        if (!in) return Fail(path, "cannot be read");
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            const std::string where = path + ":" + std::to_string(++number);
            size_t first = line.find_first_not_of(" \t\r");
            if (!inComment && first != std::string::npos && line[first] == '#') {
                if (!Directive(line, path, where)) return false;
                continue;
            }
            std::vector<Token> words;
            if (!Tokenise(line, where, &words)) return false;
            for (const Token& word : words) Expand(word, &tokens, 0);
        }
        return true;
    }
};

// ---------------------------------------------------------------- dialog statements

struct Parser {
    const std::vector<Token>& tokens;
    size_t at = 0;
    std::string problem;

    bool Fail(const std::string& why) {
        if (problem.empty()) problem = (at < tokens.size() ? tokens[at].where : std::string("end")) + ": " + why;
        return false;
    }
    bool IsName(const char* name) const {
        return at < tokens.size() && tokens[at].kind == TokenName && tokens[at].text == name;
    }
    bool IsPunctuation(const char* mark) const {
        return at < tokens.size() && tokens[at].kind == TokenPunctuation && tokens[at].text == mark;
    }
    bool Expect(const char* mark) {
        if (!IsPunctuation(mark)) return Fail(std::string("'") + mark + "' expected");
        ++at;
        return true;
    }

    // A value: numbers and style names joined by | or +, with - ~ ( ) and
    // the resource compiler's NOT, which takes its bits away.
    bool Value(int64_t* value) {
        int64_t removed = 0;
        int64_t total = 0;
        for (;;) {
            bool negate = IsName("NOT");
            if (negate) ++at;
            int64_t term;
            if (!Term(&term)) return false;
            if (negate)
                removed |= term;
            else
                total |= term;
            if (!IsPunctuation("|") && !IsPunctuation("+")) break;
            ++at;
        }
        *value = total & ~removed;
        return true;
    }
    bool Term(int64_t* value) {
        if (at >= tokens.size()) return Fail("a value expected");
        const Token& token = tokens[at];
        if (IsPunctuation("-") || IsPunctuation("~")) {
            const bool minus = IsPunctuation("-");
            ++at;
            if (!Term(value)) return false;
            *value = minus ? -*value : ~*value;
            return true;
        }
        if (IsPunctuation("(")) {
            ++at;
            return Value(value) && Expect(")");
        }
        if (token.kind == TokenNumber) {
            *value = token.number;
            ++at;
            return true;
        }
        if (token.kind == TokenName) {
            auto known = StyleNames().find(token.text);
            if (known == StyleNames().end()) return Fail("unknown name " + token.text);
            *value = static_cast<int32_t>(known->second);
            ++at;
            return true;
        }
        return Fail("a value expected, not \"" + token.text + "\"");
    }
    bool Text(std::string* text) {
        text->clear();
        if (at < tokens.size() && tokens[at].kind == TokenNumber) {  // an icon or bitmap by id
            *text = "#" + std::to_string(tokens[at++].number);
            return true;
        }
        if (at >= tokens.size() || tokens[at].kind != TokenString) return Fail("a text expected");
        while (at < tokens.size() && tokens[at].kind == TokenString) *text += tokens[at++].text;
        return true;
    }
    bool Number(int* number) {
        int64_t value;
        if (!Value(&value)) return false;
        *number = static_cast<int>(value);
        return true;
    }
    // The optional values after a comma that nothing here needs (extended
    // style, help id, font weight and the like).
    bool SkipTrailingValues() {
        int64_t ignored;
        while (IsPunctuation(",")) {
            ++at;
            if (!Value(&ignored)) return false;
        }
        return true;
    }
    bool Rectangle(int* x, int* y, int* width, int* height) {
        return Number(x) && Expect(",") && Number(y) && Expect(",") && Number(width) && Expect(",") && Number(height);
    }

    bool Control(SimTemplateControl* control) {
        int64_t style;
        if (!Text(&control->text) || !Expect(",") || !Number(&control->id) || !Expect(",")) return false;
        if (at < tokens.size() && tokens[at].kind == TokenString) {
            control->className = Lower(tokens[at++].text);
        } else if (at < tokens.size() && tokens[at].kind == TokenName && ClassNames().count(tokens[at].text)) {
            control->className = ClassNames().at(tokens[at++].text);
        } else {
            return Fail("a control class expected");
        }
        if (!Expect(",") || !Value(&style) || !Expect(",")) return false;
        control->style = static_cast<uint32_t>(style);
        return Rectangle(&control->x, &control->y, &control->width, &control->height) && SkipTrailingValues();
    }

    // The resource compiler's shorthand statements: the class and default
    // style each stands for, and whether it has a text before its id.
    struct Shorthand {
        const char* statement;
        const char* className;
        uint32_t style;
        bool hasText;
    };
    static const Shorthand* ShorthandOf(const std::string& statement) {
        static const Shorthand shorthands[] = {
            {"LTEXT", "static", 0x00020000 /* SS_LEFT | WS_GROUP */, true},
            {"CTEXT", "static", 0x00020001, true},
            {"RTEXT", "static", 0x00020002, true},
            {"PUSHBUTTON", "button", 0x00010000 /* WS_TABSTOP */, true},
            {"DEFPUSHBUTTON", "button", 0x00010001, true},
            {"CHECKBOX", "button", 0x00010002, true},
            {"AUTOCHECKBOX", "button", 0x00010003, true},
            {"RADIOBUTTON", "button", 0x00000004, true},
            {"AUTORADIOBUTTON", "button", 0x00000009, true},
            {"GROUPBOX", "button", 0x00000007, true},
            {"EDITTEXT", "edit", 0x00810000 /* WS_BORDER | WS_TABSTOP */, false},
            {"COMBOBOX", "combobox", 0x00010001 /* CBS_SIMPLE | WS_TABSTOP */, false},
            {"LISTBOX", "listbox", 0x00800001 /* LBS_NOTIFY | WS_BORDER */, false},
        };
        for (const Shorthand& shorthand : shorthands)
            if (statement == shorthand.statement) return &shorthand;
        return nullptr;
    }

    // text, id, x, y, width, height [, style [, extended style]], the text
    // only for those that have one; the style adds to the statement's own.
    bool ShorthandControl(const Shorthand& shorthand, SimTemplateControl* control) {
        if (shorthand.hasText && (!Text(&control->text) || !Expect(","))) return false;
        if (!Number(&control->id) || !Expect(",") ||
            !Rectangle(&control->x, &control->y, &control->width, &control->height))
            return false;
        control->className = shorthand.className;
        control->style = shorthand.style | 0x50000000u;  // WS_CHILD | WS_VISIBLE
        if (IsPunctuation(",")) {
            ++at;
            int64_t style;
            if (!Value(&style)) return false;
            control->style |= static_cast<uint32_t>(style);
        }
        return SkipTrailingValues();
    }

    bool Dialog(SimDialogTemplate* dialog) {
        int64_t id = tokens[at].number;
        dialog->id = static_cast<uint32_t>(id);
        const bool extended = tokens[at + 1].text == "DIALOGEX";
        at += 2;
        while (at < tokens.size() && tokens[at].kind == TokenName && tokens[at].text != "BEGIN" &&
               StyleNames().count(tokens[at].text) == 0)
            ++at;  // MOVEABLE, DISCARDABLE and the like
        int x, y;
        if (!Rectangle(&x, &y, &dialog->width, &dialog->height)) return false;
        if (extended && !SkipTrailingValues()) return false;
        int64_t ignored;
        for (;;) {
            if (IsName("BEGIN") || IsPunctuation("{")) break;
            if (at >= tokens.size() || tokens[at].kind != TokenName) return Fail("a dialog statement expected");
            const std::string statement = tokens[at++].text;
            if (statement == "STYLE") {
                if (!Value(&ignored)) return false;
                dialog->style = static_cast<uint32_t>(ignored);
            } else if (statement == "CAPTION") {
                if (!Text(&dialog->caption)) return false;
            } else if (statement == "FONT") {
                std::string face;
                if (!Value(&ignored) || !Expect(",") || !Text(&face) || !SkipTrailingValues()) return false;
            } else if (statement == "EXSTYLE" || statement == "CHARACTERISTICS" || statement == "VERSION") {
                if (!Value(&ignored)) return false;
            } else if (statement == "LANGUAGE") {
                if (!Value(&ignored) || !Expect(",") || !Value(&ignored)) return false;
            } else {
                return Fail("the dialog statement " + statement + " is not read here");
            }
        }
        ++at;
        while (!IsName("END") && !IsPunctuation("}")) {
            const Shorthand* shorthand = at < tokens.size() ? ShorthandOf(tokens[at].text) : nullptr;
            if (!IsName("CONTROL") && !shorthand) return Fail("a control statement expected");
            ++at;
            SimTemplateControl control{};
            if (!(shorthand ? ShorthandControl(*shorthand, &control) : Control(&control))) return false;
            dialog->controls.push_back(control);
        }
        ++at;
        return true;
    }

    bool Script(std::vector<SimDialogTemplate>* templates) {
        int depth = 0;
        while (at < tokens.size()) {
            const bool dialogStarts = depth == 0 && at + 1 < tokens.size() && tokens[at].kind == TokenNumber &&
                                      tokens[at + 1].kind == TokenName &&
                                      (tokens[at + 1].text == "DIALOG" || tokens[at + 1].text == "DIALOGEX");
            if (dialogStarts) {
                SimDialogTemplate dialog{};
                if (!Dialog(&dialog)) return false;
                templates->push_back(dialog);
                continue;
            }
            if (IsName("BEGIN") || IsPunctuation("{")) ++depth;
            if (IsName("END") || IsPunctuation("}")) --depth;
            ++at;
        }
        return true;
    }
};

}  // namespace

bool SimReadResourceScript(const std::string& path, std::vector<SimDialogTemplate>* templates, std::string* problem) {
    Preprocessor preprocessor;
    preprocessor.includeRoot = Folder(Folder(path));
    if (!preprocessor.Read(path)) {
        *problem = preprocessor.problem;
        return false;
    }
    Parser parser{preprocessor.tokens, 0, ""};
    if (!parser.Script(templates)) {
        *problem = parser.problem;
        return false;
    }
    return true;
}

const SimDialogTemplate* SimModuleDialogTemplate(uint32_t id, std::string* problem) {
    static std::vector<SimDialogTemplate> templates;
    static std::string scriptProblem;
    static bool read;
    if (!read) {
        read = true;
        if (!SimReadResourceScript(AEROTRACE_RESOURCE_SCRIPT, &templates, &scriptProblem)) templates.clear();
    }
    if (!scriptProblem.empty()) {
        *problem = "the module's resource script: " + scriptProblem;
        return nullptr;
    }
    for (const SimDialogTemplate& dialog : templates)
        if (dialog.id == id) return &dialog;
    *problem = "the module's resource script has no dialog " + std::to_string(id);
    return nullptr;
}
