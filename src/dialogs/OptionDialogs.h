#pragma once
// The option dialogs, one function each.  Every function shows its dialog
// modally over `parent`, filled from its section of `settings`; on "确 定"
// it updates the section in `settings` and writes every key of it to the
// settings file (settings.IniPath) and returns true; on "取 消" or close it
// changes nothing and returns false.  `places` tell where the template
// workbook lies.

#include "platform/ProgramPlaces.h"
#include "settings/Settings.h"

class QWidget;

namespace zelk {

// frmImageCompressOptions "图像压缩设置": [ImageCompress].
bool ShowImageCompressOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);
// frmMergeOptions "单页合并设置": [Merge].
bool ShowMergeOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);
// frmSplitOptions "多页分拆设置": [Split].
bool ShowSplitOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);
// frmRenameOptions "批量更名设置": [Rename].
bool ShowRenameOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);
// frmPDFOptions "单层PDF转换设置": [PDF].
bool ShowPdfOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);
// frm2PDFOptions "双层PDF转换设置": [2PDF].
bool ShowTwoPdfOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);
// frmOCROptions "OCR文本识别设置": [OCR].
bool ShowOcrOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places);

}  // namespace zelk
