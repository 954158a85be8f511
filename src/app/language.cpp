#include "app/language.h"

#include <cstddef>

namespace plotvane {
namespace {

struct TextEntry {
  int index;
  const char8_t* japanese;
  const char* english;
};

// Caption entries: index, Japanese, English.
const TextEntry kCaptionEntries[] = {
    {0, u8"ﾌｧｲﾙ(&F)", "&File"},
    {1, u8"画像を開く(&O)", "&Open Picture"},
    {2, u8"画像をBMP形式で保存(&B)", "Save &BMP File"},
    {3, u8"保存されている状態に戻す(&R)", "&Restore Saved File"},
    {4, u8"ﾃﾞｰﾀを保存(&C)", "Save Data As"},
    {5, u8"ｴｸｾﾙを起動してﾃﾞｰﾀを出力(&E)", "Export Data to Excel"},
    {6, u8"数値ﾃﾞｰﾀのみ(&N)", "Export &Data"},
    {7, u8"曲線ｸﾞﾗﾌを自動作成(&L)", "Auto Draw &Line Graph"},
    {8, u8"散布図ｸﾞﾗﾌを自動作成(&P)", "Auto Draw &Point Graph"},
    {9, u8"終了(&E)", "&Exit"},
    {10, u8"編集(&E)", "&Edit"},
    {11, u8"元に戻す(&U)", "&Undo"},
    {12, u8"再実行(&R)", "&Redo"},
    {13, u8"選択されたﾃﾞｰﾀを削除(&S)", "Delete &Selected Data"},
    {14, u8"すべてのﾃﾞｰﾀを削除(&A)", "Delete &All Data"},
    {15, u8"画像(&S)", "&Picture"},
    {16, u8"全体を選択(&A)", "Select &All"},
    {17, u8"ｽｹｰﾙﾓｰﾄﾞ(&S)", "&Scale Mode"},
    {18, u8"消しｺﾞﾑﾓｰﾄﾞ(&E)", "&Eraser Mode"},
    {19, u8"拡大表示(&I)", "Zoom &In"},
    {20, u8"縮小表示(&O)", "Zoom &Out"},
    {21, u8"回転(&R)", "&Rotate"},
    {22, u8"ﾌｨﾙﾀ(&F)", "&Filter"},
    {23, u8"明るさ/ｺﾝﾄﾗｽﾄ(&L)", "&Brightness/Contrast"},
    {24, u8"色の選出(&C)", "&Color Mask"},
    {25, u8"数値化(&D)", "&Digitizing"},
    {26, u8"変換実行(&E)", "&Execute Digitizing"},
    {27, u8"ｷｬﾝｾﾙ(&C)", "&Cancel"},
    {28, u8"Language(&L)", "&Language"},
    {29, u8"日本語(&J)", "&Japanese"},
    {30, u8"English(&E)", "&English"},
    {31, u8"ﾍﾙﾌﾟ(&H)", "&Help"},
    {32, u8"ﾍﾙﾌﾟ(&H)", "&Help"},
    {34, u8"ﾊﾞｰｼﾞｮﾝ情報(&V)", "&About"},
    {40, u8"戻す  ", "Undo"},
    {41, u8"再実行", "Redo"},
    {42, u8"数値化", "Digitizing"},
    {43, u8"中止  ", "Cancel"},
    {44, u8"全選択", "SelectAll"},
    {45, u8"ｽｹｰﾙ", "Scale"},
    {46, u8"消す  ", "Eraser"},
    {47, u8"拡大  ", "ZoomIn"},
    {48, u8"縮小  ", "ZoomOut"},
    {49, u8"グラフの種類", "Graph Type"},
    {50, u8"X軸", "X Axis"},
    {51, u8"最大値の目盛", "Max Scale"},
    {52, u8"最小値の目盛", "Min Scale"},
    {53, u8"分割数", "Division"},
    {54, u8"ｻﾝﾌﾟﾘﾝｸﾞ間隔", "Pitch"},
    {55, u8"Y軸", "Y Axis"},
    {56, u8"最小値の目盛", "Min Scale"},
    {57, u8"最大値の目盛", "Max Scale"},
    {58, u8"オプション", "Option"},
    {59, u8"Excelに自動出力", "Excel Auto Export"},
    {60, u8"消しゴムの太さ", "Eraser Size"},
    {61, u8"Y方向ﾌｨﾙﾀﾘﾝｸﾞ", "Y-Filtering"},
    {62, u8"選出領域ｻｲｽﾞ", "Pick up Area"},
    {63, u8"Excel", "Excel"},
    {64, u8"保存", "Save"},
    {65, u8"ｸﾘｱ", "Clear"},
    {66, u8"X=", "X="},
    {67, u8"Y=", "Y="},
    {68, u8"選択領域 : ", "Selected Area : "},
    {69, u8"原画ｻｲｽﾞ : ", "Size : "},
    {70, u8"表示倍率 : ", "Magnification : "},
    {71, u8"変換する画像を選択します。", "Picture File"},
    {72, u8"設定", "Setting"},
    {73, u8"ﾌｧｲﾙ", "File"},
    {74, u8"ﾃﾞｰﾀ", "Data"},
    {75, u8"線ｸﾞﾗﾌのﾄﾚｰｽ", "Trace Line"},
    {76, u8"散布図全検出", "Plot All Points"},
    {77, u8"散布図1点検出", "Plot 1 Point"},
    {78, u8"面ｸﾞﾗﾌのﾄﾚｰｽ", "Trece Surface"},
    {79, u8"手動", "Manual Plotting"},
    {80, u8"No", "No"},
    {81, u8"Xﾃﾞｰﾀ", "XData"},
    {82, u8"Yﾃﾞｰﾀ", "YData"},
    {83, u8"Xﾋﾟｸｾﾙ", "XPixel"},
    {84, u8"Yﾋﾟｸｾﾙ", "YPixel"},
    {85, u8"ｸﾞﾘｯﾄﾞに合わせる", "On Grid"},
    {101, u8"Plotvane - バージョン情報", "Plotvane - Verison Infomation"},
    {110, u8"回転処理", "Rotate"},
    {111, u8"角度指定", "Set Rotate Angle"},
    {112, u8"反時計回り", "CCW"},
    {113, u8"時計回り", "CW"},
    {114, u8"回転角度 (0.001～360)", "Angle (0.001～360deg)"},
    {115, u8"ｷｬﾝｾﾙ", "Cancel"},
    {116, u8"OK", "OK"},
    {120, u8"色の選出", "Color Mask"},
    {121, u8"ｷｬﾝｾﾙ", "Cancel"},
    {122, u8"OK", "OK"},
    {123, u8"選出オプション", "Color Mask Option"},
    {124, u8"指定した色を取り出す", "Remove Unselected Color"},
    {125, u8"指定した色を取り除く", "Remove Selected Color"},
    {126, u8"画像上で右ｸﾘｯｸすると色を取得できます。誤差は10～100が標準です。",
     "Right Click: Pick up Color"},
    {127, u8"誤差", "Range"},
    {128, u8"色", "Color"},
    {130, u8"明るさ、ｺﾝﾄﾗｽﾄの調整", "Brightness/Contrast"},
    {131, u8"ｷｬﾝｾﾙ", "Cancel"},
    {132, u8"OK", "OK"},
    {133, u8"明るさ", "Brightness"},
    {134, u8"ｺﾝﾄﾗｽﾄ", "Contrast"},
    {140, u8"画像をWindowsビットマップ形式で保存", "Save Picture as Windows Bitmap"},
    {141, u8"Windowsﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)", "Windows Bitmap (*.bmp)"},
    {142, u8"すべてのﾌｧｲﾙ (*.*)", "All Files (*.*)"},
    {143, u8"データを保存", "Save Data"},
    {144, u8"ｶﾝﾏ区切りのCSV形式ﾌｧｲﾙ (*.csv)", "CSV Files Separated by Comma (*.csv)"},
    {145, u8"ﾀﾌﾞ区切りのﾃｷｽﾄ形式ﾌｧｲﾙ (*.txt)", "Text Files Separated by Tab (*.txt)"},
    {146, u8"ｽﾍﾟｰｽ区切りのﾃｷｽﾄ形式ﾌｧｲﾙ (*.txt)", "Text Files Separated by Space (*.txt)"},
    {147, u8"ｶﾝﾏ区切りのﾃｷｽﾄ形式ﾌｧｲﾙ (*.txt)", "Text Files Separated by Comma (*.txt)"},
    {148, u8"Excel にﾃﾞｰﾀを転送しています。転送が終了するまで Excel を操作しないでください。",
     "Don't operate Excel now. Plotvane is operating Excel."},
    {149, u8"正常に終了しました。", "Exit successfully"},
    {150, u8"画像を開く", "Open Picture File"},
    {151, u8"すべてのﾋﾟｸﾁｬ (*.*)", "All Picture Files (*.*)"},
    {152, u8"JPEGﾌｧｲﾙ (*.jpg)", "JPEG Files (*.jpg)"},
    {153, u8"GIFﾌｧｲﾙ (*.gif)", "GIF Filesk (*.gif)"},
};

// Message entries: index, Japanese, English.
const TextEntry kMessageEntries[] = {
    {0, u8"既存のﾌｧｲﾙを上書きしますか ?", "Do you over write this file?"},
    {1, u8"PlotvaneはこのバージョンのExcelでのグラフ作成に対応していません。",
     "This version of Excel is not supported by Plotvane"},
    {2, u8"1以上の半角整数値を入力してください。", "Have to input number more than 1."},
    {3, u8"実数を半角で入力してください。", "Can not input Zero."},
    {4, u8"以下のディレクトリににヘルプファイルが見つかりません。",
     "There is no help file in the directly. "},
    {5, u8"未対応の形式です。", "Tthis type of file is not supported."},
    {6, u8"ﾃﾞｰﾀの数が上限 (32767) に達しました。", "The data list is full (32767 points)."},
    {7, u8"Y方向ﾌｨﾙﾀﾘﾝｸﾞには1から127までの奇数を入力してください。",
     "Y-Filtering must be an odd whole number from 1 to 127."},
    {8, u8"1以上32766以下の半角整数値を入力してください。",
     "Have to input number from 1 to 32766."},
};

std::string fromUtf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

template <std::size_t N, std::size_t M>
void fillTable(std::array<std::string, N>& table, const TextEntry (&entries)[M], bool english) {
  for (const TextEntry& entry : entries)
    table.at(static_cast<std::size_t>(entry.index)) =
        english ? std::string(entry.english) : fromUtf8(entry.japanese);
}

}  // namespace

void SetLngage(AppState& app) {
  const bool english = app.language == 1;
  fillTable(app.captionTable, kCaptionEntries, english);
  fillTable(app.messageTable, kMessageEntries, english);
}

void ApplyCaptions(Form1& form) {
  Form1Controls& ui = form.ui;
  for (const MenuEntry& entry : kMenuTable)
    ui.menu(entry.id).text = form.caption(entry.captionIndex);
  for (const ToolbarEntry& entry : kToolbarTable)
    if (entry.captionIndex >= 0)
      ui.toolButton(entry.position).caption = form.caption(entry.captionIndex);

  ui.Frame5.text = form.caption(49);
  ui.Frame1.text = form.caption(50);
  ui.Label8.text = form.caption(51);
  ui.Label6.text = form.caption(52);
  ui.Label9.text = form.caption(53);
  ui.Label10.text = form.caption(54);
  ui.Frame2.text = form.caption(55);
  ui.Label18.text = form.caption(56);
  ui.Label19.text = form.caption(57);
  ui.Frame4.text = form.caption(58);
  ui.chkExcel.text = form.caption(59);
  ui.LabelErs.text = form.caption(60);
  ui.Label1.text = form.caption(61);
  ui.Label21.text = form.caption(62);
  ui.cmdSendExcel.text = form.caption(63);
  ui.cmdSaveData.text = form.caption(64);
  ui.cmdListDelAll.text = form.caption(65);

  ui.StatusBar1.panels.resize(5);
  for (int panel = 0; panel < 5; ++panel)
    ui.StatusBar1.panels[static_cast<std::size_t>(panel)] = form.caption(66 + panel);

  ui.Label20.text = form.caption(71);

  ui.TabStrip1.tabs.resize(3);
  for (int tab = 0; tab < 3; ++tab)
    ui.TabStrip1.tabs[static_cast<std::size_t>(tab)] = form.caption(72 + tab);

  ui.cmbGraphType.items.resize(5);
  for (int item = 0; item < 5; ++item)
    ui.cmbGraphType.items[static_cast<std::size_t>(item)] = form.caption(75 + item);

  for (std::size_t column = 0; column < ui.ListView1.columns.size() && column < 5; ++column)
    ui.ListView1.columns[column].text = form.caption(80 + static_cast<int>(column));

  ui.chkOnGrid.text = form.caption(85);
}

void mnuLangENGClick(Form1& form) {
  form.app.language = 1;
  SetLngage(form.app);
  ApplyCaptions(form);
}

void mnuLangJPClick(Form1& form) {
  form.app.language = 0;
  SetLngage(form.app);
  ApplyCaptions(form);
}

}  // namespace plotvane
