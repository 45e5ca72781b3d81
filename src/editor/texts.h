// The texts the editor shows to the person, each in one place.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tagloom::text {

// The application's title: the caption of a message without a title of its own.
inline constexpr std::string_view kAppTitle = "Tagloom";
inline constexpr std::string_view kCrLf = "\r\n";
// The About box, when no system-information program can be started.
inline constexpr std::string_view kNoSystemInfo = "System Information Is Unavailable At This Time";

// Reading.
inline constexpr std::string_view kNoImageFile = "没有这个图像文件!";
// A path that exists but names a folder, a device or a pipe.
inline constexpr std::string_view kNotRegularFile = "不是图像文件(而是文件夹、设备或管道):";
inline constexpr std::string_view kBackupDamaged = "Exif备份数据损坏!";
inline constexpr std::string_view kBackupDamagedTitle = "Error !";
// A read that failed partway: the system's reason, then the file.
inline constexpr std::string_view kReadFailed = "读取文件失败: ";
inline constexpr std::string_view kReadFailedTitle = "读取失败";
inline constexpr std::string_view kEndedEarly = "文件比打开时短,可能正被其他程序改写";

// Writing.
inline constexpr std::string_view kAllFieldsEmpty = "相机及相片信息不能全部为空!";
inline constexpr std::string_view kAllFieldsEmptyTitle = "注意";
inline constexpr std::string_view kConfirmCreateExif =
    "程序将建立Exif信息文件(.Exif),并讲将信息存入原文件";
inline constexpr std::string_view kConfirmRewriteExif =
    "程序将重写Exif信息,原文件Exif信息将会变更!\r\n 是否写入Exif信息?";
inline constexpr std::string_view kConfirmTitle = "确认";
inline constexpr std::string_view kWriteSucceeded = "Exif信息写入成功!\r\n从文件:";
inline constexpr std::string_view kWriteSucceededTitle = "保存成功";
// What a write does not carry over, in the details of its confirmation.
inline constexpr std::string_view kNotKeptHeading = "新的Exif信息不会保留原文件中的:";
inline constexpr std::string_view kLostEntries = "  其他Exif条目(个): ";
inline constexpr std::string_view kLostGps = "  GPS位置信息";
inline constexpr std::string_view kLostThumbnail = "  缩略图";
inline constexpr std::string_view kMakerNoteMoved =
    "  制造商信息的原位置(移动后其他软件可能无法解读其中的内容)";
inline constexpr std::string_view kMakerNotePartly = "  制造商信息指向的部分数据";
// Keeping everything else the block held: the choice, and what it keeps.
inline constexpr std::string_view kKeepAllOption = "保留其余Exif信息(GPS位置、缩略图等)";
inline constexpr std::string_view kKeptHeading = "新的Exif信息将保留原文件中的:";
inline constexpr std::string_view kKeptItem = "将保留";
inline constexpr std::string_view kKeptInterop = "  互用性信息";
// What a keep-all write cannot carry: where, and why.
inline constexpr std::string_view kInIfd0 = "主目录";
inline constexpr std::string_view kInExif = "Exif目录";
inline constexpr std::string_view kInGps = "GPS目录";
inline constexpr std::string_view kInInterop = "互用性目录";
inline constexpr std::string_view kInIfd1 = "缩略图目录";
inline constexpr std::string_view kEntry = "条目";
inline constexpr std::string_view kWhyPointsElsewhere = "指向程序无法理解的数据";
inline constexpr std::string_view kWhyUnknownType = "类型未知";
inline constexpr std::string_view kWhyDamaged = "数据已损坏";
inline constexpr std::string_view kWhyPadding = "旧Exif信息的填充数据";
inline constexpr std::string_view kWhyDuplicate = "重复的条目";
inline constexpr std::string_view kWhyTooLarge = "超过64KB,放不下";
// Which backup file keeps the block the photograph holds before the write.
inline constexpr std::string_view kOriginalSaved = "写入前,原Exif信息将保存到备份文件:";
inline constexpr std::string_view kBackupKept = "已有的备份文件保持不变:";
inline constexpr std::string_view kCannotShowPicture = "无法显示这个图像:";
inline constexpr std::string_view kDateFormatWrong = "你的日期格式有误!";
inline constexpr std::string_view kDateFormatWrongTitle = "格式错误!";
inline constexpr std::string_view kBadHex =
    "制造商信息的十六进制数字有误(\"Hex:\"之后应是成对的0-9、A-F):";
// Before a write: a keep box is what sends its area to the whole list.
inline constexpr std::string_view kBatchWithoutKeepBox =
    "提示: 批量处理时,只有勾选了\"保留本区信息\"的区域才会写入列表中的每一张相片;"
    "现在没有勾选,只写入这张相片。";
// Edits typed and not written, before the photograph gives way to another.
inline constexpr std::string_view kUnwrittenEdits =
    "这张相片的Exif信息已经修改,但还没有写入。\r\n是否先写入?";
inline constexpr std::string_view kUnwrittenEditsTitle = "尚未写入";
inline constexpr std::string_view kWriteEditsButton = "写入";
inline constexpr std::string_view kDiscardEditsButton = "放弃修改";
inline constexpr std::string_view kStayButton = "留在这张相片";

// Backup and restore.
inline constexpr std::string_view kBackupSucceeded = "Exif数据备份完成!\r\n备份文件:";
inline constexpr std::string_view kBackupSucceededTitle = "备份成功";
inline constexpr std::string_view kConfirmOverwriteBackup = "是否覆盖原备份文件?";
inline constexpr std::string_view kConfirmRestore =
    "这样会覆盖原文件中的Exif信息!\r\n是否要进行保存操作?";
inline constexpr std::string_view kConfirmRestoreTitle = "确认:";

// Batches.
inline constexpr std::string_view kBatchTitle = "批量操作";
inline constexpr std::string_view kConfirmBatchBackup =
    "所有原备份文件将会被覆盖,是否继续批量操作?";
inline constexpr std::string_view kConfirmBatchRestore =
    "该操作将会保存所有备份文件,是否继续批量操作?";
inline constexpr std::string_view kBatchResultTitle = "批量操作结果";
inline constexpr std::string_view kBackupSummary = "批量操作结果:";
inline constexpr std::string_view kRestoreSummary = "批量保存操作结果:";
inline constexpr std::string_view kFilesProcessed = "  共处理文件:";
inline constexpr std::string_view kWithExif = "  Exif信息:";
inline constexpr std::string_view kBackedUp = "    成功备份:";
inline constexpr std::string_view kBackupFailedCount = "    备份失败:";
inline constexpr std::string_view kBackupsFound = "Exif备份文件:";
inline constexpr std::string_view kStored = "    成功保存:";
inline constexpr std::string_view kStoreFailedCount = "    保存失败:";
inline constexpr std::string_view kFailedFile = "  失败:";

// A write to every photograph of the list: its preview, each photograph's
// outcome, the summary.
inline constexpr std::string_view kListPreviewTitle = "批量写入";
inline constexpr std::string_view kListPreviewQuestion =
    "将把下列改变写入列表中的每一张相片,是否继续?";
inline constexpr std::string_view kOnlyShownButton = "只写入这张相片";
inline constexpr std::string_view kNothingToChange = "无需改变";
inline constexpr std::string_view kNotKeptItem = "不会保留";
inline constexpr std::string_view kEmptyValue = "(空)";
inline constexpr std::string_view kListSummary = "批量写入结果:";
inline constexpr std::string_view kListWrittenCount = "    成功写入:";
inline constexpr std::string_view kListUnchangedCount = "    无需改变:";
inline constexpr std::string_view kListRefusedCount = "    写入失败:";
inline constexpr std::string_view kListNotReachedCount = "    未处理(已停止):";
inline constexpr std::string_view kListWritten = "已写入";
inline constexpr std::string_view kListBackedUp = "已备份";
inline constexpr std::string_view kListRestored = "已恢复";
inline constexpr std::string_view kListUnchanged = "无需改变";
inline constexpr std::string_view kListSkipped = "跳过";
inline constexpr std::string_view kListRefused = "失败:";
inline constexpr std::string_view kListNotReached = "未处理(已停止)";

// A table applied to the list, and its faults, by row and column.
inline constexpr std::string_view kExportTable = "导出表格...";
inline constexpr std::string_view kImportTable = "从表格导入...";
inline constexpr std::string_view kTableRow = "表格第";
inline constexpr std::string_view kTableRowEnd = "行 ";
inline constexpr std::string_view kTableColumn = " 列";
inline constexpr std::string_view kTableAnd = "和";
inline constexpr std::string_view kTableSamePhoto = "是同一张相片,无法确定用哪一行";
inline constexpr std::string_view kTableNoFile = "没有填写文件名";
inline constexpr std::string_view kTableFileMissing = "找不到文件: ";
inline constexpr std::string_view kTableFileNotListed = "不在相片列表中: ";
inline constexpr std::string_view kTableNotADate = "不是可以读取的日期";
inline constexpr std::string_view kTableNotANumber = "不是数字";
inline constexpr std::string_view kTableNoPhoto = "没有对应的相片";
inline constexpr std::string_view kTableNoRow = "表格中没有对应的行";
inline constexpr std::string_view kTableColumnUnknown = "无法对应到任何项目,不使用";
inline constexpr std::string_view kTableColumnRepeated = "与前面的列重复,不使用";
inline constexpr std::string_view kTableColumnMakerNote = "制造商信息不从表格读取";
inline constexpr std::string_view kTableNotText = "这不是文本表格: 第";
inline constexpr std::string_view kTableOpenQuote = "表格中的引号没有闭合: 第";
inline constexpr std::string_view kTableEmpty = "表格是空的";
inline constexpr std::string_view kTableExported = "表格已导出到:";
inline constexpr std::string_view kTableColumnsUnused = "不使用的列: ";
inline constexpr std::string_view kTableTitle = "表格";
inline constexpr std::string_view kTableTooLarge = "表格文件太大(超过64MB):";
inline constexpr std::string_view kTableNeedsPhotos =
    "表格没有file列,请给出相片,表格的各行按顺序对应这些相片";

// Dates for the whole list.
inline constexpr std::string_view kNoDateToShift = "没有可以读取的拍摄日期";
inline constexpr std::string_view kDateOutOfRange = "新的日期超出范围(公元1年至9999年)";

// Failures of a write or a backup: what happened, then why.
inline constexpr std::string_view kWriteFailed = "Exif信息写入失败,原文件没有改变!";
inline constexpr std::string_view kWriteFailedTitle = "写入失败";
inline constexpr std::string_view kBackupFailed = "Exif数据备份失败!";
inline constexpr std::string_view kBackupFailedTitle = "备份失败";
inline constexpr std::string_view kNoBackupToRestore = "没有可以恢复的备份文件:";
inline constexpr std::string_view kNothingToBackUp = "图像文件中没有可以备份的Exif信息:";
inline constexpr std::string_view kNoBackupName = "图像文件名中没有\".\",无法确定备份文件名:";
inline constexpr std::string_view kBackupMissing = "找不到备份文件:";
inline constexpr std::string_view kPhotoUnreadable = "无法读取图像文件:";
inline constexpr std::string_view kNotJpeg = "不是JPEG图像文件:";
inline constexpr std::string_view kPhotoReadOnly = "图像文件是只读的,不能改写:";
inline constexpr std::string_view kBackupIsPhoto = "备份文件就是图像文件本身,不能用作备份:";
inline constexpr std::string_view kBusy = "另一个程序正在写入这个文件,请稍后再试:";
inline constexpr std::string_view kPhotoChanged = "图像文件已被其他程序改变,请重新打开:";
inline constexpr std::string_view kBlockIncomplete = "Exif信息不完整:";
inline constexpr std::string_view kCannotRemoveLeftover = "无法删除上次中断时留下的文件:";
// What stands against saving a photograph's block into its backup file.
inline constexpr std::string_view kOriginalNotSaved = "原Exif信息无法保存到备份文件:";
inline constexpr std::string_view kBackupPlaceEmpty = "那是一个空文件";
inline constexpr std::string_view kBackupPlaceDamaged = "那不是有效的备份文件";
inline constexpr std::string_view kBackupPlaceNotAFile = "那是文件夹、设备或管道";
inline constexpr std::string_view kBackupPlaceDanglingLink = "那是指向不存在的文件的链接";
inline constexpr std::string_view kBackupPlaceUnreadable = "无法读取: ";
inline constexpr std::string_view kBackupPlaceIsPhoto = "那是图像文件本身";
inline constexpr std::string_view kSharedBackupName = "备份文件名与旁边的相片相同:";
inline constexpr std::string_view kSharedBackupWrite =
    "写入前不会把这张相片的原Exif信息保存到那里。";
inline constexpr std::string_view kSharedBackupRestore = "其中保存的可能是那张相片的Exif信息。";
inline constexpr std::string_view kSameAsListed = "与列表中前面的这一项是同一张相片,只处理一次:";
inline constexpr std::string_view kVerifyFailed = "新文件校验失败:";
inline constexpr std::string_view kCannotCreate = "无法建立文件:";
inline constexpr std::string_view kCannotWrite = "无法写入文件:";
inline constexpr std::string_view kCannotSync = "无法将文件存入磁盘:";
inline constexpr std::string_view kCannotPark = "无法保留原文件:";
inline constexpr std::string_view kCannotReplace = "无法替换文件:";
inline constexpr std::string_view kDiskFull = "磁盘已满";
inline constexpr std::string_view kTooLarge = "Exif信息超过64KB,无法写入:";
inline constexpr std::string_view kOutOfRange = "数值超出范围,无法写入:";

// A message made of its parts: a text, a path, a reason.
inline std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out += part;
  return out;
}

// The window's title and the version texts, from the program's version.
std::string WindowTitle();  // "Tagloom Version 3.0 Build 3002 - Vantoro Studio."
std::string VersionText(int blanksBeforeBuild);  // "Version 3.0 Build 3002", or with two blanks

}  // namespace tagloom::text
