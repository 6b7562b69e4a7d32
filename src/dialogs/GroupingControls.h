#pragma once
// The grouping workbook controls shared by the merge, PDF and dual-layer
// PDF dialogs: "按照Excel模板自动分件" (chkGroup), the workbook path
// (txtTemplate), the picker (cmdTemplate) and "打开模板文件"
// (cmdTemplateFile), which opens the template workbook: the one shipped
// beside a portable program, or the user's own copy of the shipped one
// under an installed program, made when it is missing.

#include <string>

#include "platform/ProgramPlaces.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zelk {

class GroupingControls {
 public:
  // Buttons with captions, or picture buttons that carry the captions as
  // tool tips.
  enum class ButtonStyle { Captions, Pictures };

  GroupingControls(QWidget* dialog, const ProgramPlaces& places, ButtonStyle style);

  QCheckBox* chkGroup;
  QLineEdit* txtTemplate;
  QPushButton* cmdTemplate;
  QPushButton* cmdTemplateFile;

  // A stored path ticks chkGroup and shows the path; an empty one clears both.
  void Show(const std::string& grouping);
  // The path when chkGroup is ticked, else empty (no grouping).
  std::string Value() const;
};

}  // namespace zelk
