// The resource script as the program uses it: every dialog with the controls its code addresses (id, class, style,
// text), a layout in which nothing is clipped or covered, the menus with their command ids and texts, the version
// block, the toolbar strip and the icons. One table per resource lists what the program expects.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

enum Kind {
    Radio,         // auto radio button
    Check,         // auto check box
    Push,          // push button
    DefaultPush,   // default push button
    Group,         // group frame
    Label,         // plain static text
    Swatch,        // sunken static painted with a colour
    Result,        // centred sunken static
    Picture,       // static showing a bitmap
    Edit,          // editable, no case conversion
    ReadOnlyEdit,
    UpperEdit,     // converts typed letters to upper case
    DropList,      // drop-down list combo box
    ReportList,    // list view in report mode
    Progress,
    Track
};

struct Control {
    int Id;
    Kind What;
    const wchar_t* Text;  // nullptr: the code sets it
};

struct DialogSpec {
    int Id;
    const wchar_t* Caption;
    std::vector<Control> Controls;
    std::vector<const wchar_t*> Frames;        // texts of group frames and labels that carry no id
    std::vector<std::set<int>> RadioGroups;    // each must be one dialog group on its own
};

const std::vector<DialogSpec>& Dialogs()
{
    static const std::vector<DialogSpec> dialogs = {
        {IDD_CONFIG, L"設定",
         {{1004, Check, L"CRC32"}, {1005, Check, L"MD5"}, {1006, Check, L"SHA-1"},
          {1041, Check, L"フォルダ登録時にサブフォルダも検索する"},
          {1032, Check, L"チェック時に自動的にスクロールして表示する"},
          {1020, Check, L"チェック終了後にカラム幅を自動調整する"}, {1030, Check, L"相対パスに下線を表示する"},
          {1043, Radio, L"ハッシュの比較"}, {1022, Radio, L"ファイルを開く"}, {1021, Radio, L"比較ツールの起動"},
          {1008, Swatch, L""}, {1009, Swatch, L""}, {1011, Swatch, L""}, {1013, Swatch, L""}, {1015, Swatch, L""},
          {1017, Swatch, L""}, {1029, Swatch, L""},
          {1007, Push, L"変更"}, {1010, Push, L"変更"}, {1012, Push, L"変更"}, {1014, Push, L"変更"},
          {1016, Push, L"変更"}, {1018, Push, L"変更"}, {1031, Push, L"変更"},
          {1023, Edit, nullptr}, {1024, Edit, nullptr}, {1025, Edit, nullptr}, {1028, Edit, nullptr},
          {1027, Edit, nullptr}, {1026, Edit, nullptr},
          {1038, Push, L">"}, {1039, Push, L">"}, {1040, Push, L">"},
          {1035, Push, L"参照..."}, {1036, Push, L"参照..."}, {1037, Push, L"参照..."},
          {1033, Track, nullptr}, {1034, ReadOnlyEdit, nullptr}, {IDOK, DefaultPush, L"OK"},
          {IDCANCEL, Push, L"キャンセル"}},
         {L"ダブルクリック時", L"背景色", L"その他", L"比較ツール", L"チェック待機中", L"チェック中", L"同一ファイル",
          L"ハッシュ不一致", L"左のみ存在", L"右のみ存在", L"拡張子", L"実行コマンド（%1:左ファイル %2:右ファイル）",
          L"同時チェック数"},
         {{1043, 1022, 1021}}},
        {IDD_MESSAGE, L"", {{1030, Label, L""}}, {}, {}},
        {IDD_VERSION, L"バージョン情報",
         {{1036, ReadOnlyEdit, nullptr}, {1037, ReadOnlyEdit, nullptr}, {1038, Picture, nullptr},
          {1035, DefaultPush, L"閉じる"}},
         {L"ソフト名", L"バージョン"}, {}},
        {IDD_OUTPUT, L"リスト出力",
         {{1051, Radio, L"左リスト"}, {1052, Radio, L"右リスト"}, {1040, Radio, L"ファイル"},
          {1041, Radio, L"クリップボード"}, {1046, Radio, L"テキスト（WinCRC）形式"}, {1045, Radio, L"csv形式"},
          {1059, Radio, L"tsv形式"}, {1060, Radio, L"SFV形式"}, {1061, Radio, L"md5sum形式"},
          {1062, Radio, L"sha1sum形式"}, {1063, DropList, nullptr}, {1048, Radio, L"フルパス"},
          {1047, Radio, L"相対パス"}, {1049, Radio, L"ファイル名"}, {1053, Check, L"○：一致"},
          {1007, Check, L"×：不一致"}, {1008, Check, L"←：左のみ"}, {1009, Check, L"→：右のみ"},
          {1010, Check, L"？：不明"}, {1004, Check, L"CRC32"}, {1005, Check, L"MD5"}, {1006, Check, L"SHA-1"},
          {1058, Check, L"ヘッダ（項目名）"}, {1011, Check, L"フッタ（合計ファイル数・合計サイズ）"},
          {1057, Check, L"出力時にメッセージを表示しない"}, {1056, ReadOnlyEdit, nullptr},
          {1055, DropList, nullptr}, {1039, DefaultPush, L"出力"}, {1035, Push, L"閉じる"}},
         {},
         {{1051, 1052}, {1040, 1041}, {1046, 1045, 1059, 1060, 1061, 1062}, {1048, 1047, 1049}}},
        {IDD_HASH, L"ハッシュ値の比較",
         {{1042, ReadOnlyEdit, nullptr}, {1043, ReadOnlyEdit, nullptr}, {1047, UpperEdit, nullptr},
          {1058, Result, L""}, {1049, ReadOnlyEdit, nullptr}, {1050, UpperEdit, nullptr}, {1059, Result, L""},
          {1052, ReadOnlyEdit, nullptr}, {1053, UpperEdit, nullptr}, {1060, Result, L""},
          {1055, ReadOnlyEdit, nullptr}, {1056, Edit, nullptr}, {1062, Result, L""},
          {1035, DefaultPush, L"閉じる"}},
         {L"ファイル名", L"CRC32", L"MD5", L"SHA-1", L"ファイルサイズ"}, {}},
        {IDD_PROGRESS, L"進捗",
         {{1069, Label, L""}, {1066, Progress, nullptr}, {1071, ReportList, nullptr},
          {1035, DefaultPush, L"キャンセル"}},
         {}, {}},
        {IDD_COPY, L"ファイルの操作",
         {{1051, Radio, L"左リスト"}, {1052, Radio, L"右リスト"}, {1064, Radio, L"コピー"}, {1065, Radio, L"移動"},
          {1042, Radio, L"削除"}, {1062, Edit, nullptr}, {1036, Push, L"参照..."}, {1070, DropList, nullptr},
          {1063, Check, L"相対パスを保持して出力する"}, {1053, Check, L"○：一致"}, {1007, Check, L"×：不一致"},
          {1008, Check, L"←：左のみ"}, {1009, Check, L"→：右のみ"}, {1010, Check, L"？：不明"},
          {1060, ReportList, nullptr}, {1061, DefaultPush, L"実行"}, {1035, Push, L"閉じる"}},
         {L"対象リスト", L"操作", L"出力先", L"対象項目", L"出力ファイルが既に存在する場合"},
         {{1051, 1052}, {1064, 1065, 1042}}},
    };
    return dialogs;
}

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// a dialog created from its resource, hidden, destroyed with the holder
class DialogHolder {
public:
    explicit DialogHolder(int id)
        : Handle(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, QuietProc, 0))
    {
    }
    ~DialogHolder()
    {
        if (Handle)
            DestroyWindow(Handle);
    }
    DialogHolder(const DialogHolder&) = delete;
    DialogHolder& operator=(const DialogHolder&) = delete;
    HWND Handle;
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], length + 1));
    return text;
}

// for failure messages: gtest prints wide strings as escapes
std::string Utf8(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), length, &out[0], size, nullptr, nullptr);
    return out;
}

std::vector<HWND> ChildrenInOrder(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// the class and the style bits that make each kind
void ExpectKind(HWND control, Kind kind, int id)
{
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const std::wstring cls = ClassOf(control);
    const LONG button = style & BS_TYPEMASK;
    const LONG stat = style & SS_TYPEMASK;
    SCOPED_TRACE(testing::Message() << "control " << id);
    switch (kind) {
    case Radio: EXPECT_EQ(L"Button", cls); EXPECT_EQ(BS_AUTORADIOBUTTON, button); break;
    case Check: EXPECT_EQ(L"Button", cls); EXPECT_EQ(BS_AUTOCHECKBOX, button); break;
    case Push: EXPECT_EQ(L"Button", cls); EXPECT_EQ(BS_PUSHBUTTON, button); break;
    case DefaultPush: EXPECT_EQ(L"Button", cls); EXPECT_EQ(BS_DEFPUSHBUTTON, button); break;
    case Group: EXPECT_EQ(L"Button", cls); EXPECT_EQ(BS_GROUPBOX, button); break;
    case Label:
        EXPECT_EQ(L"Static", cls);
        EXPECT_TRUE(stat == SS_LEFT || stat == SS_CENTER || stat == SS_LEFTNOWORDWRAP);
        break;
    case Swatch: EXPECT_EQ(L"Static", cls); EXPECT_TRUE(style & SS_SUNKEN); break;
    case Result:
        EXPECT_EQ(L"Static", cls);
        EXPECT_EQ(SS_CENTER, stat);
        EXPECT_TRUE(style & SS_SUNKEN);
        break;
    case Picture:
        EXPECT_EQ(L"Static", cls);
        EXPECT_EQ(SS_BITMAP, stat);
        EXPECT_NE(0, SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        break;
    case Edit: EXPECT_EQ(L"Edit", cls); EXPECT_FALSE(style & (ES_READONLY | ES_UPPERCASE)); break;
    case ReadOnlyEdit: EXPECT_EQ(L"Edit", cls); EXPECT_TRUE(style & ES_READONLY); break;
    case UpperEdit:
        EXPECT_EQ(L"Edit", cls);
        EXPECT_TRUE(style & ES_UPPERCASE);
        EXPECT_FALSE(style & ES_READONLY);
        break;
    case DropList: EXPECT_EQ(L"ComboBox", cls); EXPECT_EQ(CBS_DROPDOWNLIST, style & 3); break;
    case ReportList: EXPECT_EQ(L"SysListView32", cls); EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK); break;
    case Progress: EXPECT_EQ(L"msctls_progress32", cls); break;
    case Track: EXPECT_EQ(L"msctls_trackbar32", cls); break;
    }
}

class ResourcesTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
    }
};

TEST_F(ResourcesTest, Dialogs_loadWithEveryControlTheCodeAddresses)
{
    for (const DialogSpec& dialogDef : Dialogs()) {
        SCOPED_TRACE(testing::Message() << "dialog " << dialogDef.Id);
        DialogHolder dialog(dialogDef.Id);
        ASSERT_NE(nullptr, dialog.Handle);
        EXPECT_EQ(dialogDef.Caption, TextOf(dialog.Handle));
        std::set<int> seen;
        for (const Control& c : dialogDef.Controls) {
            EXPECT_TRUE(seen.insert(c.Id).second) << "listed twice: " << c.Id;
            HWND control = GetDlgItem(dialog.Handle, c.Id);
            ASSERT_NE(nullptr, control) << "missing control " << c.Id;
            ExpectKind(control, c.What, c.Id);
            if (c.Text) {
                EXPECT_EQ(c.Text, TextOf(control)) << "control " << c.Id;
            }
        }
        std::set<std::wstring> texts;
        for (HWND child : ChildrenInOrder(dialog.Handle))
            texts.insert(TextOf(child));
        for (const wchar_t* frame : dialogDef.Frames)
            EXPECT_EQ(1u, texts.count(frame)) << "no frame or label reading " << Utf8(frame);
    }
}

TEST_F(ResourcesTest, Dialogs_controlIdsAreUnique)
{
    // two children with one id would make GetDlgItem find only the first
    for (const DialogSpec& dialogDef : Dialogs()) {
        DialogHolder dialog(dialogDef.Id);
        ASSERT_NE(nullptr, dialog.Handle);
        std::map<int, int> counts;
        for (HWND child : ChildrenInOrder(dialog.Handle))
            ++counts[GetDlgCtrlID(child)];
        for (const auto& count : counts) {
            if (count.first != -1 && count.first != 0xFFFF) {
                EXPECT_EQ(1, count.second) << "dialog " << dialogDef.Id << " id " << count.first;
            }
        }
    }
}

// auto radio buttons uncheck the others of their dialog group (WS_GROUP to the next WS_GROUP): each listed set
// must be exactly the radio buttons of one group
TEST_F(ResourcesTest, Dialogs_radioButtonsFormTheirGroups)
{
    for (const DialogSpec& dialogDef : Dialogs()) {
        DialogHolder dialog(dialogDef.Id);
        ASSERT_NE(nullptr, dialog.Handle);
        std::vector<std::set<int>> groups(1);
        for (HWND child : ChildrenInOrder(dialog.Handle)) {
            if ((GetWindowLongW(child, GWL_STYLE) & WS_GROUP) && !groups.back().empty())
                groups.emplace_back();
            if (ClassOf(child) == L"Button" && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                groups.back().insert(GetDlgCtrlID(child));
        }
        std::vector<std::set<int>> radioGroups;
        for (const auto& g : groups)
            if (!g.empty())
                radioGroups.push_back(g);
        EXPECT_EQ(dialogDef.RadioGroups.size(), radioGroups.size()) << "dialog " << dialogDef.Id;
        for (const auto& expected : dialogDef.RadioGroups) {
            bool found = false;
            for (const auto& g : radioGroups)
                found = found || g == expected;
            EXPECT_TRUE(found) << "dialog " << dialogDef.Id << " radio group starting " << *expected.begin();
        }
    }
}

int TextWidth(HWND control, const std::wstring& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right - r.left;
}

RECT RectInDialog(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool IsFrame(HWND control)
{
    return ClassOf(control) == L"Button" && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// room a control leaves beside its text: the box of a check box or radio button, a button's edges, a frame's indent
int TextAllowance(HWND control)
{
    if (ClassOf(control) != L"Button")
        return 0;
    switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
    case BS_AUTORADIOBUTTON: return GetSystemMetrics(SM_CXMENUCHECK) + 4;
    case BS_GROUPBOX: return 16;
    default: return 6;
    }
}

TEST_F(ResourcesTest, Dialogs_layoutKeepsEveryControlVisibleAndUnclipped)
{
    for (const DialogSpec& dialogDef : Dialogs()) {
        SCOPED_TRACE(testing::Message() << "dialog " << dialogDef.Id);
        DialogHolder dialog(dialogDef.Id);
        ASSERT_NE(nullptr, dialog.Handle);
        RECT client;
        GetClientRect(dialog.Handle, &client);
        std::vector<HWND> children = ChildrenInOrder(dialog.Handle);
        for (HWND child : children) {
            const RECT r = RectInDialog(dialog.Handle, child);
            const std::wstring text = TextOf(child);
            EXPECT_TRUE(Inside(r, client)) << "outside the dialog: " << Utf8(text);
            const std::wstring cls = ClassOf(child);
            if ((cls == L"Button" || cls == L"Static") && !text.empty()) {
                EXPECT_LE(TextWidth(child, text) + TextAllowance(child), r.right - r.left)
                    << "clipped: " << Utf8(text);
            }
        }
        for (size_t i = 0; i < children.size(); ++i) {
            for (size_t j = i + 1; j < children.size(); ++j) {
                const RECT a = RectInDialog(dialog.Handle, children[i]);
                const RECT b = RectInDialog(dialog.Handle, children[j]);
                RECT common;
                if (!IntersectRect(&common, &a, &b))
                    continue;
                const int idA = GetDlgCtrlID(children[i]);
                const int idB = GetDlgCtrlID(children[j]);
                const bool frameA = IsFrame(children[i]);
                const bool frameB = IsFrame(children[j]);
                if (frameA && frameB)
                    ADD_FAILURE() << "frames overlap: " << Utf8(TextOf(children[i])) << " and "
                                  << Utf8(TextOf(children[j]));
                else if (frameA || frameB)
                    EXPECT_TRUE(frameA ? Inside(b, a) : Inside(a, b))
                        << "control " << (frameA ? idB : idA) << " crosses the frame "
                        << Utf8(TextOf(children[frameA ? i : j]));
                else
                    ADD_FAILURE() << "controls " << idA << " and " << idB << " overlap";
            }
        }
    }
}

TEST_F(ResourcesTest, MessageWindow_textFillsTheWindowCentred)
{
    DialogHolder dialog(IDD_MESSAGE);
    ASSERT_NE(nullptr, dialog.Handle);
    const LONG style = GetWindowLongW(dialog.Handle, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    // a thin border and no sizing frame: nobody resizes a message, and a sizing frame makes closing it slow
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
    HWND text = GetDlgItem(dialog.Handle, IDC_MESSAGE_TEXT);
    ASSERT_NE(nullptr, text);
    const LONG textStyle = GetWindowLongW(text, GWL_STYLE);
    EXPECT_EQ(SS_CENTER, textStyle & SS_TYPEMASK);
    EXPECT_TRUE(textStyle & SS_CENTERIMAGE);
    RECT client, r = RectInDialog(dialog.Handle, text);
    GetClientRect(dialog.Handle, &client);
    EXPECT_TRUE(EqualRect(&client, &r));
    RECT units = {0, 0, 130, 25};
    MapDialogRect(dialog.Handle, &units);
    EXPECT_EQ(units.right, client.right);
    EXPECT_EQ(units.bottom, client.bottom);
}

// ---- menus ----

struct MenuEntry {
    int Menu;
    int Popup;  // position of the pop-up in the menu, which the code opens with GetSubMenu
    int Id;
    const wchar_t* Text;
};

const std::vector<MenuEntry>& MenuEntries()
{
    static const std::vector<MenuEntry> entries = {
        {IDR_MENU, 0, 40015, L"左(&L)"}, {IDR_MENU, 0, 40016, L"右(&R)"}, {IDR_MENU, 0, 40017, L"左(&L)"},
        {IDR_MENU, 0, 40018, L"右(&R)"}, {IDR_MENU, 0, 40078, L"リストをクリア(&A)"},
        {IDR_MENU, 0, 40066, L"ファイルリストを出力...(&L)"},
        {IDR_MENU, 0, 40079, L"ファイルのコピー・移動・削除...(&M)"}, {IDR_MENU, 0, 40002, L"終了(&X)"},
        {IDR_MENU, 1, 40114, L"全て選択(&A)"}, {IDR_MENU, 1, 40124, L"選択を切り替え(&I)"},
        {IDR_MENU, 1, 40065, L"ハッシュを再チェック(&R)"}, {IDR_MENU, 1, 40147, L"チェックを中止(&S)"},
        {IDR_MENU, 1, 40042, L"設定(&C)"},
        {IDR_MENU, 2, 40049, L"ツールバー(&T)"}, {IDR_MENU, 2, 40068, L"サイドツールバー(&D)"},
        {IDR_MENU, 2, 40050, L"ステータスバー(&S)"}, {IDR_MENU, 2, 40051, L"常に最前面表示(&M)"},
        {IDR_MENU, 3, 40077, L"オンラインマニュアル(&M)"}, {IDR_MENU, 3, 40076, L"作者ホームページ(&H)"},
        {IDR_MENU, 3, 40038, L"バージョン情報...(&A)"},

        {IDR_POPUP, 0, 40006, L"CRC32(&C)"}, {IDR_POPUP, 0, 40007, L"MD5(&M)"}, {IDR_POPUP, 0, 40008, L"SHA-1(&S)"},
        {IDR_POPUP, 0, 40023, L"カラム幅を自動調整する(&A)"}, {IDR_POPUP, 0, 40022, L"カラム幅をデフォルトに戻す(&D)"},

        {IDR_POPUP, 1, 40057, L"開く(&O)"}, {IDR_POPUP, 1, 40058, L"比較ツールを起動(&X)"},
        {IDR_POPUP, 1, 40126, L"ハッシュ値を比較...(&H)"}, {IDR_POPUP, 1, 40062, L"CRC32(&C)"},
        {IDR_POPUP, 1, 40063, L"MD5(&M)"}, {IDR_POPUP, 1, 40064, L"SHA-1(&S)"},
        {IDR_POPUP, 1, 40059, L"ファイルを追加...(&F)"}, {IDR_POPUP, 1, 40060, L"フォルダを追加...(&D)"},
        {IDR_POPUP, 1, 40114, L"全て(&A)"}, {IDR_POPUP, 1, 40124, L"切り替え(&I)"},
        {IDR_POPUP, 1, 40117, L"○：一致(&O)"}, {IDR_POPUP, 1, 40118, L"×：不一致(&N)"},
        {IDR_POPUP, 1, 40115, L"←：左のみ(&L)"}, {IDR_POPUP, 1, 40116, L"→：右のみ(&R)"},
        {IDR_POPUP, 1, 40065, L"ハッシュを再チェック(&R)"}, {IDR_POPUP, 1, 40066, L"ファイルリストを出力...(&L)"},
        {IDR_POPUP, 1, 40079, L"ファイルのコピー・移動・削除...(&M)"}, {IDR_POPUP, 1, 40061, L"リストから削除(&E)"},
        {IDR_POPUP, 1, 40078, L"リストをクリア(&A)"},

        {IDR_POPUP, 2, 40133, L"選択ファイルをチェック(&C)"}, {IDR_POPUP, 2, 40134, L"選択ファイルのチェックを外す(&U)"},
        {IDR_POPUP, 2, 40138, L"選択ファイルのチェックを反転(&I)"}, {IDR_POPUP, 2, 40135, L"全てのファイルをチェック(&A)"},
        {IDR_POPUP, 2, 40136, L"全てのファイルのチェックを外す(&N)"},
        {IDR_POPUP, 2, 40139, L"全てのファイルのチェックを反転(&V)"},

        {IDR_POPUP, 3, 40121, L"%1\t左ファイル(&1)"}, {IDR_POPUP, 3, 40122, L"%2\t右ファイル(&2)"},
    };
    return entries;
}

class MenuHolder {
public:
    explicit MenuHolder(int id) : Handle(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))) {}
    ~MenuHolder()
    {
        if (Handle)
            DestroyMenu(Handle);
    }
    MenuHolder(const MenuHolder&) = delete;
    MenuHolder& operator=(const MenuHolder&) = delete;
    HMENU Handle;
};

std::wstring ItemText(HMENU menu, UINT item, bool byPosition)
{
    wchar_t text[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, item, byPosition, &info))
        return L"<none>";
    return text;
}

// command ids of a pop-up and of its sub-menus
void CollectIds(HMENU menu, std::multiset<UINT>& ids)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            CollectIds(sub, ids);
        else if (GetMenuItemID(menu, i) != 0)
            ids.insert(GetMenuItemID(menu, i));
    }
}

TEST_F(ResourcesTest, Menus_popupsInTheOrderTheCodeOpensThem)
{
    MenuHolder bar(IDR_MENU), popups(IDR_POPUP);
    ASSERT_NE(nullptr, bar.Handle);
    ASSERT_NE(nullptr, popups.Handle);
    const std::vector<std::wstring> barTitles = {L"ファイル(&F)", L"編集(&E)", L"表示(&V)", L"ヘルプ(&H)"};
    const std::vector<std::wstring> popupTitles = {L"ヘッダ", L"ファイルリスト", L"コピーリスト", L"タグ"};
    ASSERT_EQ(static_cast<int>(barTitles.size()), GetMenuItemCount(bar.Handle));
    ASSERT_EQ(static_cast<int>(popupTitles.size()), GetMenuItemCount(popups.Handle));
    for (size_t i = 0; i < barTitles.size(); ++i) {
        EXPECT_EQ(barTitles[i], ItemText(bar.Handle, static_cast<UINT>(i), true));
        EXPECT_NE(nullptr, GetSubMenu(bar.Handle, static_cast<int>(i)));
    }
    for (size_t i = 0; i < popupTitles.size(); ++i) {
        EXPECT_EQ(popupTitles[i], ItemText(popups.Handle, static_cast<UINT>(i), true));
        EXPECT_NE(nullptr, GetSubMenu(popups.Handle, static_cast<int>(i)));
    }
    EXPECT_EQ(POPUP_HEADER, 0);
    EXPECT_EQ(POPUP_FILE_LIST, 1);
    EXPECT_EQ(POPUP_COPY_LIST, 2);
    EXPECT_EQ(POPUP_TAG, 3);
    EXPECT_EQ(MENU_VIEW_POSITION, 2);
}

TEST_F(ResourcesTest, Menus_everyCommandInItsPopupWithItsText)
{
    std::map<std::pair<int, int>, std::multiset<UINT>> expected;
    for (const MenuEntry& e : MenuEntries()) {
        SCOPED_TRACE(testing::Message() << "menu " << e.Menu << " pop-up " << e.Popup << " command " << e.Id);
        MenuHolder menu(e.Menu);
        ASSERT_NE(nullptr, menu.Handle);
        HMENU popup = GetSubMenu(menu.Handle, e.Popup);
        ASSERT_NE(nullptr, popup);
        // by command, GetMenuItemInfo also searches the sub-menus
        EXPECT_EQ(e.Text, ItemText(popup, e.Id, false)) << Utf8(e.Text);
        expected[{e.Menu, e.Popup}].insert(e.Id);
    }
    // and nothing else: an id the code does not know would be a dead item
    for (const auto& popup : expected) {
        MenuHolder menu(popup.first.first);
        std::multiset<UINT> ids;
        CollectIds(GetSubMenu(menu.Handle, popup.first.second), ids);
        EXPECT_EQ(std::multiset<UINT>(popup.second.begin(), popup.second.end()), ids)
            << "menu " << popup.first.first << " pop-up " << popup.first.second;
    }
}

// the character after '&' of each item of one menu level; a key used twice would only cycle between the items
void ExpectUniqueMnemonics(HMENU menu, const std::string& where)
{
    std::map<wchar_t, std::wstring> keys;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const std::wstring text = ItemText(menu, i, true);
        const size_t amp = text.find(L'&');
        if (amp != std::wstring::npos && amp + 1 < text.size()) {
            const wchar_t key = static_cast<wchar_t>(towupper(text[amp + 1]));
            EXPECT_TRUE(keys.emplace(key, text).second)
                << where << ": " << Utf8(text) << " and " << Utf8(keys[key]) << " share a key";
        }
        if (HMENU sub = GetSubMenu(menu, i))
            ExpectUniqueMnemonics(sub, where + " > " + Utf8(text));
    }
}

TEST_F(ResourcesTest, Menus_accessKeysAreUniqueOnEachLevel)
{
    MenuHolder bar(IDR_MENU), popups(IDR_POPUP);
    ExpectUniqueMnemonics(bar.Handle, "menu bar");
    for (int i = 0; i < GetMenuItemCount(popups.Handle); ++i)
        ExpectUniqueMnemonics(GetSubMenu(popups.Handle, i), Utf8(ItemText(popups.Handle, i, true)));
}

// ---- version block, pictures ----

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value || length == 0)
        return L"";
    return static_cast<const wchar_t*>(value);
}

TEST_F(ResourcesTest, Version_productNameAndFileVersionReadable)
{
    wchar_t module[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, module, MAX_PATH));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(module, &handle);
    ASSERT_NE(0u, size);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(module, 0, size, block.data()));
    EXPECT_EQ(L"Juxta", VersionString(block, L"ProductName"));
    EXPECT_EQ(L"1.0.0", VersionString(block, L"FileVersion"));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
}

// the toolbar code cuts the strip into 16 x 16 images and keys out TOOLBAR_MASK_COLOR: every cell must hold a
// picture (some opaque pixels) on a transparent background (some key pixels)
TEST_F(ResourcesTest, ToolbarStrip_twentyImagesEachDrawnOnTheKeyColour)
{
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, strip);
    BITMAP info = {};
    ASSERT_NE(0, GetObjectW(strip, sizeof(info), &info));
    EXPECT_EQ(TOOLBAR_IMAGE_SIZE * TOOLBAR_IMAGE_COUNT, info.bmWidth);
    EXPECT_EQ(TOOLBAR_IMAGE_SIZE, info.bmHeight);
    ASSERT_EQ(320, info.bmWidth);
    ASSERT_EQ(16, info.bmHeight);

    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, strip, 0, info.bmHeight, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(strip);
    ASSERT_EQ(info.bmHeight, rows);

    const COLORREF key = TOOLBAR_MASK_COLOR;
    const DWORD keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int image = 0; image < TOOLBAR_IMAGE_COUNT; ++image) {
        int keyed = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                keyed += (pixels[y * 320 + image * 16 + x] & 0xFFFFFF) == keyPixel;
        EXPECT_GT(keyed, 0) << "image " << image << " has no transparent pixel";
        EXPECT_LT(keyed, 256 - 40) << "image " << image << " is nearly empty";
    }
}

TEST_F(ResourcesTest, VersionPicture_loads)
{
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_VERSION), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(nullptr, picture);
    BITMAP info = {};
    GetObjectW(picture, sizeof(info), &info);
    EXPECT_GE(info.bmWidth, 32);
    EXPECT_GE(info.bmHeight, 32);
    DeleteObject(picture);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE Width, Height, Colours, Reserved;
    WORD Planes, BitCount;
    DWORD BytesInRes;
    WORD Id;
};
#pragma pack(pop)

// the sizes an icon group holds, read from its directory (LoadImage would scale a missing size silently)
std::set<int> IconSizes(int id)
{
    std::set<int> sizes;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    if (!found)
        return sizes;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const WORD count = *reinterpret_cast<const WORD*>(data + 4);
    const GroupIconEntry* entries = reinterpret_cast<const GroupIconEntry*>(data + 6);
    for (WORD i = 0; i < count; ++i)
        sizes.insert(entries[i].Width == 0 ? 256 : entries[i].Width);
    return sizes;
}

TEST_F(ResourcesTest, Icons_programIconAtThreeSizesAndThreeBusyFrames)
{
    EXPECT_EQ((std::set<int>{16, 32, 48}), IconSizes(IDI_MAIN));
    for (int id : {IDI_BUSY1, IDI_BUSY2, IDI_BUSY3}) {
        EXPECT_EQ(1u, IconSizes(id).count(16)) << "icon " << id;
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
        EXPECT_NE(nullptr, icon) << "icon " << id;
        if (icon)
            DestroyIcon(icon);
    }
    HICON big = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN));
    EXPECT_NE(nullptr, big);
}

} // namespace
