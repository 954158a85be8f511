#include "app/file_error_text.h"

#include <cerrno>

namespace plotvane {
namespace {

struct ErrorEntry {
  FileError error;
  const char8_t* japanese;
  const char* english;
};

const ErrorEntry kErrorEntries[] = {
    {ENOENT, u8"ファイルまたはフォルダがありません", "No such file or directory"},
    {EACCES, u8"アクセスが拒否されました", "Permission denied"},
    {EPERM, u8"この操作は許可されていません", "Operation not permitted"},
    {EISDIR, u8"フォルダです", "Is a directory"},
    {ENOTDIR, u8"パスの途中にフォルダでないものがあります", "Not a directory"},
    {kNotRegularFile, u8"通常のファイルではありません", "Not a regular file"},
    {ENOSPC, u8"ディスクに空きがありません", "No space left on device"},
    {EDQUOT, u8"ディスクの使用量が上限を超えました", "Disk quota exceeded"},
    {EROFS, u8"読み取り専用のファイルシステムです", "Read-only file system"},
    {EIO, u8"入出力エラーが発生しました", "Input/output error"},
    {ELOOP, u8"シンボリックリンクの階層が深すぎます", "Too many levels of symbolic links"},
    {ENAMETOOLONG, u8"ファイル名が長すぎます", "File name too long"},
    {EMFILE, u8"開いているファイルが多すぎます", "Too many open files"},
    {ENFILE, u8"開いているファイルが多すぎます", "Too many open files in system"},
    {ENOMEM, u8"メモリが足りません", "Cannot allocate memory"},
    {EFBIG, u8"ファイルが大きすぎます", "File too large"},
    {EBUSY, u8"使用中です", "Device or resource busy"},
};

}  // namespace

std::string fileErrorText(FileError error, std::int16_t language) {
  for (const ErrorEntry& entry : kErrorEntries)
    if (entry.error == error)
      return language != 0 ? std::string(entry.english)
                           : std::string(reinterpret_cast<const char*>(entry.japanese));
  return Platform::errorText(error);
}

std::string fileWarningText(const std::string& path, FileError error, std::int16_t language) {
  return path + ": " + fileErrorText(error, language);
}

}  // namespace plotvane
