#include "app/language.h"

#include <cstddef>

namespace plotvane {
namespace {

template <typename Id>
struct TextEntry {
  Id id;
  const char8_t* japanese;
  const char* english;
};

// The program's own texts, exactly as users of earlier versions know them:
// the English misspellings ("Trece Surface", "Verison Infomation", "GIF
// Filesk", "over write", "directly", "Tthis") are part of those texts and
// stay as they are.

// Caption entries: table number, Japanese, English.
const TextEntry<Caption> kCaptionEntries[] = {
    {Caption::MenuFile, u8"ﾌｧｲﾙ(&F)", "&File"},
    {Caption::MenuFileOpen, u8"画像を開く(&O)", "&Open Picture"},
    {Caption::MenuFileSave, u8"画像をBMP形式で保存(&B)", "Save &BMP File"},
    {Caption::MenuFileRedraw, u8"保存されている状態に戻す(&R)", "&Restore Saved File"},
    {Caption::MenuDataSave, u8"ﾃﾞｰﾀを保存(&C)", "Save Data As"},
    {Caption::MenuDataExcel, u8"ｴｸｾﾙを起動してﾃﾞｰﾀを出力(&E)", "Export Data to Excel"},
    {Caption::MenuDataExcelData, u8"数値ﾃﾞｰﾀのみ(&N)", "Export &Data"},
    {Caption::MenuDataExcelLine, u8"曲線ｸﾞﾗﾌを自動作成(&L)", "Auto Draw &Line Graph"},
    {Caption::MenuDataExcelPoint, u8"散布図ｸﾞﾗﾌを自動作成(&P)", "Auto Draw &Point Graph"},
    {Caption::MenuFileExit, u8"終了(&E)", "&Exit"},
    {Caption::MenuEdit, u8"編集(&E)", "&Edit"},
    {Caption::MenuEditUndo, u8"元に戻す(&U)", "&Undo"},
    {Caption::MenuEditRedo, u8"再実行(&R)", "&Redo"},
    {Caption::MenuDataDelSelect, u8"選択されたﾃﾞｰﾀを削除(&S)", "Delete &Selected Data"},
    {Caption::MenuDataDelAll, u8"すべてのﾃﾞｰﾀを削除(&A)", "Delete &All Data"},
    {Caption::MenuPicture, u8"画像(&S)", "&Picture"},
    {Caption::MenuSelectAll, u8"全体を選択(&A)", "Select &All"},
    {Caption::MenuScale, u8"ｽｹｰﾙﾓｰﾄﾞ(&S)", "&Scale Mode"},
    {Caption::MenuErase, u8"消しｺﾞﾑﾓｰﾄﾞ(&E)", "&Eraser Mode"},
    {Caption::MenuZoomIn, u8"拡大表示(&I)", "Zoom &In"},
    {Caption::MenuZoomOut, u8"縮小表示(&O)", "Zoom &Out"},
    {Caption::MenuRotate, u8"回転(&R)", "&Rotate"},
    {Caption::MenuFilter, u8"ﾌｨﾙﾀ(&F)", "&Filter"},
    {Caption::MenuFilterContrast, u8"明るさ/ｺﾝﾄﾗｽﾄ(&L)", "&Brightness/Contrast"},
    {Caption::MenuFilterColourMask, u8"色の選出(&C)", "&Color Mask"},
    {Caption::MenuDigitizing, u8"数値化(&D)", "&Digitizing"},
    {Caption::MenuExecute, u8"変換実行(&E)", "&Execute Digitizing"},
    {Caption::MenuCancel, u8"ｷｬﾝｾﾙ(&C)", "&Cancel"},
    {Caption::MenuLanguage, u8"Language(&L)", "&Language"},
    {Caption::MenuJapanese, u8"日本語(&J)", "&Japanese"},
    {Caption::MenuEnglish, u8"English(&E)", "&English"},
    {Caption::MenuHelp, u8"ﾍﾙﾌﾟ(&H)", "&Help"},
    {Caption::MenuHelpHelp, u8"ﾍﾙﾌﾟ(&H)", "&Help"},
    {Caption::MenuAbout, u8"ﾊﾞｰｼﾞｮﾝ情報(&V)", "&About"},
    {Caption::ButtonUndo, u8"戻す  ", "Undo"},
    {Caption::ButtonRedo, u8"再実行", "Redo"},
    {Caption::ButtonExecute, u8"数値化", "Digitizing"},
    {Caption::ButtonCancel, u8"中止  ", "Cancel"},
    {Caption::ButtonSelectAll, u8"全選択", "SelectAll"},
    {Caption::ButtonScale, u8"ｽｹｰﾙ", "Scale"},
    {Caption::ButtonEraser, u8"消す  ", "Eraser"},
    {Caption::ButtonZoomIn, u8"拡大  ", "ZoomIn"},
    {Caption::ButtonZoomOut, u8"縮小  ", "ZoomOut"},
    {Caption::GraphTypeFrame, u8"グラフの種類", "Graph Type"},
    {Caption::XAxisFrame, u8"X軸", "X Axis"},
    {Caption::XMaxScale, u8"最大値の目盛", "Max Scale"},
    {Caption::XMinScale, u8"最小値の目盛", "Min Scale"},
    {Caption::Division, u8"分割数", "Division"},
    {Caption::Pitch, u8"ｻﾝﾌﾟﾘﾝｸﾞ間隔", "Pitch"},
    {Caption::YAxisFrame, u8"Y軸", "Y Axis"},
    {Caption::YMinScale, u8"最小値の目盛", "Min Scale"},
    {Caption::YMaxScale, u8"最大値の目盛", "Max Scale"},
    {Caption::OptionFrame, u8"オプション", "Option"},
    {Caption::ExcelAutoExport, u8"Excelに自動出力", "Excel Auto Export"},
    {Caption::EraserSize, u8"消しゴムの太さ", "Eraser Size"},
    {Caption::YFiltering, u8"Y方向ﾌｨﾙﾀﾘﾝｸﾞ", "Y-Filtering"},
    {Caption::PickUpArea, u8"選出領域ｻｲｽﾞ", "Pick up Area"},
    {Caption::SendExcel, u8"Excel", "Excel"},
    {Caption::SaveData, u8"保存", "Save"},
    {Caption::ClearList, u8"ｸﾘｱ", "Clear"},
    {Caption::PanelX, u8"X=", "X="},
    {Caption::PanelY, u8"Y=", "Y="},
    {Caption::SelectedArea, u8"選択領域 : ", "Selected Area : "},
    {Caption::PictureSize, u8"原画ｻｲｽﾞ : ", "Size : "},
    {Caption::Magnification, u8"表示倍率 : ", "Magnification : "},
    {Caption::PictureFile, u8"変換する画像を選択します。", "Picture File"},
    {Caption::TabSetting, u8"設定", "Setting"},
    {Caption::TabFile, u8"ﾌｧｲﾙ", "File"},
    {Caption::TabData, u8"ﾃﾞｰﾀ", "Data"},
    {Caption::TraceLine, u8"線ｸﾞﾗﾌのﾄﾚｰｽ", "Trace Line"},
    {Caption::PlotAllPoints, u8"散布図全検出", "Plot All Points"},
    {Caption::PlotOnePoint, u8"散布図1点検出", "Plot 1 Point"},
    {Caption::TraceSurface, u8"面ｸﾞﾗﾌのﾄﾚｰｽ", "Trece Surface"},
    {Caption::ManualPlotting, u8"手動", "Manual Plotting"},
    {Caption::ColumnNumber, u8"No", "No"},
    {Caption::ColumnXData, u8"Xﾃﾞｰﾀ", "XData"},
    {Caption::ColumnYData, u8"Yﾃﾞｰﾀ", "YData"},
    {Caption::ColumnXPixel, u8"Xﾋﾟｸｾﾙ", "XPixel"},
    {Caption::ColumnYPixel, u8"Yﾋﾟｸｾﾙ", "YPixel"},
    {Caption::OnGrid, u8"ｸﾞﾘｯﾄﾞに合わせる", "On Grid"},
    {Caption::AboutTitle, u8"Plotvane - バージョン情報", "Plotvane - Verison Infomation"},
    {Caption::RotateTitle, u8"回転処理", "Rotate"},
    {Caption::RotateFrame, u8"角度指定", "Set Rotate Angle"},
    {Caption::RotateCcw, u8"反時計回り", "CCW"},
    {Caption::RotateCw, u8"時計回り", "CW"},
    {Caption::RotateAngle, u8"回転角度 (0.001～360)", "Angle (0.001～360deg)"},
    {Caption::RotateCancel, u8"ｷｬﾝｾﾙ", "Cancel"},
    {Caption::RotateOk, u8"OK", "OK"},
    {Caption::ColourMaskTitle, u8"色の選出", "Color Mask"},
    {Caption::ColourMaskCancel, u8"ｷｬﾝｾﾙ", "Cancel"},
    {Caption::ColourMaskOk, u8"OK", "OK"},
    {Caption::ColourMaskOption, u8"選出オプション", "Color Mask Option"},
    {Caption::KeepSelectedColour, u8"指定した色を取り出す", "Remove Unselected Color"},
    {Caption::RemoveSelectedColour, u8"指定した色を取り除く", "Remove Selected Color"},
    {Caption::PickColourHint, u8"画像上で右ｸﾘｯｸすると色を取得できます。誤差は10～100が標準です。",
     "Right Click: Pick up Color"},
    {Caption::ColourRange, u8"誤差", "Range"},
    {Caption::ColourSwatch, u8"色", "Color"},
    {Caption::ContrastTitle, u8"明るさ、ｺﾝﾄﾗｽﾄの調整", "Brightness/Contrast"},
    {Caption::ContrastCancel, u8"ｷｬﾝｾﾙ", "Cancel"},
    {Caption::ContrastOk, u8"OK", "OK"},
    {Caption::Brightness, u8"明るさ", "Brightness"},
    {Caption::Contrast, u8"ｺﾝﾄﾗｽﾄ", "Contrast"},
    {Caption::SavePictureTitle, u8"画像をWindowsビットマップ形式で保存",
     "Save Picture as Windows Bitmap"},
    {Caption::BitmapFiles, u8"Windowsﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)", "Windows Bitmap (*.bmp)"},
    {Caption::AllFiles, u8"すべてのﾌｧｲﾙ (*.*)", "All Files (*.*)"},
    {Caption::SaveDataTitle, u8"データを保存", "Save Data"},
    {Caption::CsvCommaFiles, u8"ｶﾝﾏ区切りのCSV形式ﾌｧｲﾙ (*.csv)",
     "CSV Files Separated by Comma (*.csv)"},
    {Caption::TextTabFiles, u8"ﾀﾌﾞ区切りのﾃｷｽﾄ形式ﾌｧｲﾙ (*.txt)",
     "Text Files Separated by Tab (*.txt)"},
    {Caption::TextSpaceFiles, u8"ｽﾍﾟｰｽ区切りのﾃｷｽﾄ形式ﾌｧｲﾙ (*.txt)",
     "Text Files Separated by Space (*.txt)"},
    {Caption::TextCommaFiles, u8"ｶﾝﾏ区切りのﾃｷｽﾄ形式ﾌｧｲﾙ (*.txt)",
     "Text Files Separated by Comma (*.txt)"},
    {Caption::ExcelBusy,
     u8"Excel にﾃﾞｰﾀを転送しています。転送が終了するまで Excel を操作しないでください。",
     "Don't operate Excel now. Plotvane is operating Excel."},
    {Caption::ExcelDone, u8"正常に終了しました。", "Exit successfully"},
    {Caption::OpenPictureTitle, u8"画像を開く", "Open Picture File"},
    {Caption::AllPictureFiles, u8"すべてのﾋﾟｸﾁｬ (*.*)", "All Picture Files (*.*)"},
    {Caption::JpegFiles, u8"JPEGﾌｧｲﾙ (*.jpg)", "JPEG Files (*.jpg)"},
    {Caption::GifFiles, u8"GIFﾌｧｲﾙ (*.gif)", "GIF Filesk (*.gif)"},
    {Caption::CopyList, u8"コピー(&C)", "&Copy"},
    {Caption::NamePicture, u8"画像", "Picture"},
    {Caption::NameGridPitch, u8"グリッドの間隔", "Grid pitch"},
    {Caption::NamePointerX, u8"ポインタのX値", "X value"},
    {Caption::NamePointerY, u8"ポインタのY値", "Y value"},
    {Caption::NameResizeFlag, u8"境界のドラッグ", "Resize flag"},
    {Caption::NameDataList, u8"データの一覧", "Data points"},
    {Caption::NameDrives, u8"ドライブ", "Drives"},
    {Caption::NameFolders, u8"フォルダ", "Folders"},
    {Caption::LoadingPicture, u8"読み込み中 : ", "Loading : "},
};

// Message entries: table number, Japanese, English.
const TextEntry<Message> kMessageEntries[] = {
    {Message::OverwriteFile, u8"既存のﾌｧｲﾙを上書きしますか ?", "Do you over write this file?"},
    {Message::ExcelUnsupported,
     u8"PlotvaneはこのバージョンのExcelでのグラフ作成に対応していません。",
     "This version of Excel is not supported by Plotvane"},
    {Message::WholeNumberRequired, u8"1以上の半角整数値を入力してください。",
     "Have to input number more than 1."},
    {Message::ZeroNotAllowed, u8"実数を半角で入力してください。", "Can not input Zero."},
    {Message::HelpFileMissing, u8"以下のディレクトリににヘルプファイルが見つかりません。",
     "There is no help file in the directly. "},
    {Message::UnsupportedFile, u8"未対応の形式です。", "Tthis type of file is not supported."},
    {Message::ListFull, u8"ﾃﾞｰﾀの数が上限 (32767) に達しました。",
     "The data list is full (32767 points)."},
    {Message::FilterOddNumber, u8"Y方向ﾌｨﾙﾀﾘﾝｸﾞには1から127までの奇数を入力してください。",
     "Y-Filtering must be an odd whole number from 1 to 127."},
    {Message::CountOutOfRange, u8"1以上32766以下の半角整数値を入力してください。",
     "Have to input number from 1 to 32766."},
    {Message::Overflow, u8"ｵｰﾊﾞｰﾌﾛｰしました。", "Overflow"},
    {Message::ClickDuringRun, u8"数値化の実行中は、クリックで点を追加できません。",
     "Points cannot be added by clicking while digitizing is running."},
    {Message::OutOfMemory, u8"メモリが不足しています。", "Out of memory"},
    {Message::UnexpectedError, u8"予期しないエラーが発生しました。", "Unexpected error"},
    {Message::CentroidError, u8"点の重心を求められません (SumX,SumY ERROR)。", "SumX,SumY ERROR"},
    {Message::RotatedPictureTooLarge, u8"回転後の画像が大きすぎます。",
     "The rotated picture would be too large."},
    {Message::HelpPageNotOpened, u8"ヘルプページを開けませんでした。",
     "The help page could not be opened. "},
};

std::string fromUtf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

template <std::size_t N, typename Id, std::size_t M>
void fillTable(std::array<std::string, N>& table, const TextEntry<Id> (&entries)[M], bool english) {
  for (const TextEntry<Id>& entry : entries)
    table.at(tableIndex(entry.id)) =
        english ? std::string(entry.english) : fromUtf8(entry.japanese);
}

}  // namespace

void SetLngage(AppState& app) {
  const bool english = app.language == 1;
  fillTable(app.captionTable, kCaptionEntries, english);
  fillTable(app.messageTable, kMessageEntries, english);
}

}  // namespace plotvane
