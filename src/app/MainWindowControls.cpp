// Building the controls and menus of the main window.  Captions, tooltips
// and the dialog each menu item and settings icon opens are in the tables
// at the top.

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/ElidingLabel.h"
#include "app/InlineFieldLabel.h"
#include "app/MainWindow.h"
#include "app/WorkListModel.h"
#include "dialogs/DialogWidgets.h"
#include "jobs/Dispatch.h"
#include "jobs/JobActions.h"
#include "jobs/JobCatalog.h"
#include "run/RowClaims.h"

namespace zelk {

namespace {

// The dialog of each settings section that has one; an action's settings
// icon opens the dialog of its jobs' section (the action table gives the
// captions and tooltips).
struct SectionDialog {
  SettingSection section;
  DialogId dialog;
};
constexpr SectionDialog kSectionDialogs[] = {
    {SettingSection::Merge, DialogId::Merge},
    {SettingSection::Split, DialogId::Split},
    {SettingSection::Rename, DialogId::Rename},
    {SettingSection::PDF, DialogId::Pdf},
    {SettingSection::TwoPDF, DialogId::TwoPdf},
    {SettingSection::OCR, DialogId::Ocr},
};

// The dialog of `action`'s options; none for an action without options.
std::optional<DialogId> SettingDialogOf(int action) {
  const JobSection* section = JobsOfAction(action).Section();
  if (section == nullptr) return std::nullopt;
  for (const SectionDialog& entry : kSectionDialogs) {
    if (entry.section == section->Id) return entry.dialog;
  }
  return std::nullopt;
}

// The items of the settings menu; a null caption is a separator.
struct MenuEntry {
  const char* name;
  const char* caption;
  DialogId dialog;
};
constexpr MenuEntry kSettingMenu[] = {
    {"mnuCompress", "图像压缩设置(&Q)", DialogId::ImageCompress},
    {"mnuS1", nullptr, DialogId::ImageCompress},
    {"mnuCombine", "单页合并设置(&C)", DialogId::Merge},
    {"mnuSplit", "多页拆分设置(&S)", DialogId::Split},
    {"mnuRenameOptions", "批量更名设置(&R)", DialogId::Rename},
    {"mnuPDF", "单层PDF转换设置(&P)", DialogId::Pdf},
    {"mnu2PDF", "双层PDF转换设置(&T)", DialogId::TwoPdf},
    {"mnuWord", "OCR为Word设置(&W)", DialogId::Ocr},
};

constexpr const char* kOpenFolderTooltip = "打开磁盘目录";
constexpr const char* kBrowseCaption = "浏览";

// The settings icon: a small gear, drawn so that it looks the same on every
// desktop theme.
QIcon SettingIcon(const QPalette& palette) {
  QIcon icon;
  for (int size : {16, 24, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const double outer = size * 0.48;
    const double inner = size * 0.36;
    const int teeth = 8;
    QPainterPath gear;
    for (int i = 0; i < teeth * 4; ++i) {
      // Each tooth: two points on the outer circle, two on the inner one.
      const double radius = (i % 4 == 1 || i % 4 == 2) ? outer : inner;
      const double angle = (i + 0.5) * 2 * M_PI / (teeth * 4);
      const QPointF point(centre.x() + radius * std::cos(angle),
                          centre.y() + radius * std::sin(angle));
      if (i == 0) gear.moveTo(point); else gear.lineTo(point);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, size * 0.14, size * 0.14);
    painter.fillPath(gear.subtracted(hole), palette.color(QPalette::Active, QPalette::Mid).darker(150));
    icon.addPixmap(pixmap);
  }
  return icon;
}

QGroupBox* Frame(const char* name, QWidget* parent) {
  auto* frame = new QGroupBox(parent);
  frame->setObjectName(name);
  return frame;
}

QLabel* Label(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

void MainWindow::BuildControls() {
  setObjectName("frmMain");
  BuildMenus();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(BuildActionFrame());
  layout->addWidget(BuildDirectoryFrame());
  layout->addWidget(BuildTimerFrame());
  layout->addWidget(BuildListsAndStatus(), 1);
  layout->addWidget(BuildCommandButtons());
  setCentralWidget(central);
  SetKeyboardOrder();

  tmrTimer_ = new QTimer(this);
  tmrTimer_->setObjectName("tmrTimer");
  tmrAuto_ = new QTimer(this);
  tmrAuto_->setObjectName("tmrAuto");
  for (QTimer* timer : {tmrTimer_, tmrAuto_}) {
    timer->setInterval(1000);
    timer->start();
  }

  resize(860, 620);
}

void MainWindow::BuildMenus() {
  QMenu* setting = menuBar()->addMenu("设置[&O]");
  setting->setObjectName("mnuSetting");
  for (const MenuEntry& entry : kSettingMenu) {
    QAction* action = entry.caption ? setting->addAction(entry.caption) : setting->addSeparator();
    action->setObjectName(entry.name);
    if (entry.caption) {
      const DialogId dialog = entry.dialog;
      connect(action, &QAction::triggered, this, [this, dialog] { OpenDialog(dialog); });
    }
  }

  QMenu* system = menuBar()->addMenu("帮助[&H]");
  system->setObjectName("mnuSystem");
  QAction* help = system->addAction("使用说明(&H)");
  help->setObjectName("mnuHelp");
  connect(help, &QAction::triggered, this, &MainWindow::OpenHelpDocument);
  system->addSeparator()->setObjectName("mnuS2");
  QAction* webSite = system->addAction("软件网站(&W)");
  webSite->setObjectName("mnuWebSite");
  connect(webSite, &QAction::triggered, this, &MainWindow::OpenWebSite);
}

QWidget* MainWindow::BuildActionFrame() {
  QGroupBox* frame = Frame("framAction", this);
  auto* layout = new QHBoxLayout(frame);
  const QIcon gear = SettingIcon(palette());
  for (size_t i = 0; i < optAction_.size(); ++i) {
    const JobAction& action = kJobActions[i];
    auto* option = new QRadioButton(QString::fromUtf8(action.Caption), frame);
    option->setObjectName(QStringLiteral("optAction%1").arg(i));
    option->setToolTip(action.Tooltip);
    optAction_[i] = option;

    auto* icon = new QToolButton(frame);
    icon->setObjectName(QStringLiteral("imgSetting%1").arg(i));
    icon->setIcon(gear);
    icon->setIconSize(QSize(16, 16));
    icon->setAutoRaise(true);
    icon->setCursor(Qt::PointingHandCursor);
    // Reached with Tab and opened with the space bar like any button.
    icon->setFocusPolicy(Qt::StrongFocus);
    if (const std::optional<DialogId> dialog = SettingDialogOf(action.Number)) {
      icon->setToolTip(action.SettingsTitle);
      connect(icon, &QToolButton::clicked, this, [this, dialog] { OpenDialog(*dialog); });
    } else {
      icon->setVisible(false);
    }
    imgSetting_[i] = icon;

    auto* pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(option);
    pair->addWidget(icon);
    layout->addLayout(pair);
    if (i + 1 < optAction_.size()) layout->addStretch(1);
  }
  return frame;
}

QWidget* MainWindow::BuildDirectoryFrame() {
  QGroupBox* frame = Frame("framDirSetting", this);
  auto* grid = new QGridLayout(frame);
  const QIcon folder = style()->standardIcon(QStyle::SP_DirOpenIcon);
  auto addRow = [&](int row, const char* labelName, const QString& caption, const char* textName,
                    const char* browseName, const char* openName, QLineEdit*& text,
                    QPushButton*& browse, QToolButton*& open) {
    grid->addWidget(Label(labelName, caption, frame), row, 0);
    text = new QLineEdit(frame);
    text->setObjectName(textName);
    grid->addWidget(text, row, 1);
    browse = Button(browseName, kBrowseCaption, frame);
    grid->addWidget(browse, row, 2);
    open = new QToolButton(frame);
    open->setObjectName(openName);
    open->setIcon(folder);
    open->setFocusPolicy(Qt::StrongFocus);
    open->setToolTip(kOpenFolderTooltip);
    grid->addWidget(open, row, 3);
  };
  addRow(0, "lblTitle0", "待转换目录：", "txtSrcDir", "cmdSrcDir", "cmdOpenSrc", txtSrcDir_,
         cmdSrcDir_, cmdOpenSrc_);
  addRow(1, "lblTitle1", "转换后目录：", "txtDstDir", "cmdDstDir", "cmdOpenDst", txtDstDir_,
         cmdDstDir_, cmdOpenDst_);
  grid->setColumnStretch(1, 1);

  connect(cmdSrcDir_, &QPushButton::clicked, this, [this] { BrowseInto(txtSrcDir_); });
  connect(cmdDstDir_, &QPushButton::clicked, this, [this] { BrowseInto(txtDstDir_); });
  connect(cmdOpenSrc_, &QToolButton::clicked, this, &MainWindow::OpenSourceDirectory);
  connect(cmdOpenDst_, &QToolButton::clicked, this, &MainWindow::OpenDestinationDirectory);
  return frame;
}

QWidget* MainWindow::BuildTimerFrame() {
  QGroupBox* frame = Frame("framTimer", this);
  auto* layout = new QHBoxLayout(frame);

  optTimer_[0] = new QRadioButton("定时转换", frame);
  optTimer_[0]->setObjectName("optTimer0");
  cboHour_ = new QComboBox(frame);
  cboHour_->setObjectName("cboHour");
  cboMinute_ = new QComboBox(frame);
  cboMinute_->setObjectName("cboMinute");
  for (QComboBox* list : {cboHour_, cboMinute_}) {
    list->setMaxVisibleItems(12);
    list->setMinimumContentsLength(2);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Hiding the lists (interval mode) must not shift the other controls.
    QSizePolicy policy = list->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    list->setSizePolicy(policy);
  }

  optTimer_[1] = new QRadioButton("自动扫描", frame);
  optTimer_[1]->setObjectName("optTimer1");
  auto* lblAuto = new InlineFieldLabel("隔       分钟自动扫描", frame);
  lblAuto->setObjectName("lblAuto");
  txtInterval_ = new QLineEdit("5", frame);
  txtInterval_->setObjectName("txtInterval");
  txtInterval_->setAlignment(Qt::AlignCenter);
  lblAuto->SetInlineField(txtInterval_, txtInterval_->fontMetrics().horizontalAdvance("0000"));

  layout->addWidget(optTimer_[0]);
  layout->addWidget(cboHour_);
  layout->addWidget(cboMinute_);
  layout->addSpacing(24);
  layout->addWidget(optTimer_[1]);
  layout->addWidget(lblAuto);
  layout->addStretch(1);
  AddScheduleState(layout, frame);

  for (int i = 0; i < 2; ++i) {
    connect(optTimer_[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            [this, i] { ApplyTimerOption(i); });
  }
  return frame;
}

QWidget* MainWindow::BuildListsAndStatus() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* splitter = new QSplitter(Qt::Horizontal, area);
  workList_ = new WorkListModel(this);
  lvwDocList_ = new QTreeView(splitter);
  lvwDocList_->setObjectName("lvwDocList");
  lvwDocList_->setModel(workList_);
  lvwDocList_->setRootIsDecorated(false);
  lvwDocList_->setUniformRowHeights(true);
  lvwDocList_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwDocList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvwDocList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QHeaderView* header = lvwDocList_->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(WorkListModel::kPathColumn, QHeaderView::Stretch);
  const int digitWidth = fontMetrics().horizontalAdvance("00000");
  header->resizeSection(WorkListModel::kNumberColumn, digitWidth + 24);
  header->resizeSection(WorkListModel::kPagesColumn, digitWidth + 24);
  // Wide enough for the longest row text, those of other processes' items.
  int statusWidth = 0;
  for (const char* text : {"转换失败...", kHeldByAnotherRun, kDoneByAnotherRun}) {
    statusWidth = std::max(statusWidth, fontMetrics().horizontalAdvance(QString::fromUtf8(text)));
  }
  header->resizeSection(WorkListModel::kStatusColumn, statusWidth + 24);

  lvwFileList_ = new QTreeWidget(splitter);
  lvwFileList_->setObjectName("lvwFileList");
  lvwFileList_->setColumnCount(1);
  lvwFileList_->setHeaderLabels({"文件名"});
  lvwFileList_->setRootIsDecorated(false);
  lvwFileList_->setUniformRowHeights(true);
  splitter->addWidget(lvwDocList_);
  splitter->addWidget(lvwFileList_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  layout->addWidget(splitter, 1);
  AddRunFeedback(layout, area);

  auto* statusRow = new QHBoxLayout;
  // Long paths are shortened in the middle and never widen the window; the
  // page counter stays whole.
  lblStatus_ = new ElidingLabel(area);
  lblStatus_->setObjectName("lblStatus");
  lblStatus_->KeepTail(PageCounterTail());
  lblStatus_->setContentsMargins(0, 0, fontMetrics().horizontalAdvance("00"), 0);
  lblStatus_->SetFullText("已准备");
  statusRow->addWidget(lblStatus_, 1);
  statusRow->addWidget(Label("lblTitle2", "总共：", area));
  lblResult_[0] = Label("lblResult0", "0", area);
  statusRow->addWidget(lblResult_[0]);
  statusRow->addSpacing(16);
  statusRow->addWidget(Label("lblTitle3", "已转：", area));
  lblResult_[1] = Label("lblResult1", "0", area);
  statusRow->addWidget(lblResult_[1]);
  for (QLabel* count : lblResult_) count->setMinimumWidth(fontMetrics().horizontalAdvance("000000"));
  layout->addLayout(statusRow);
  return area;
}

// Tab follows the window from top to bottom and left to right, each gear
// right after its action; within an option group the arrow keys move (Qt
// lets Tab stop at one option of a group).
void MainWindow::SetKeyboardOrder() {
  std::vector<QWidget*> order;
  for (size_t i = 0; i < optAction_.size(); ++i) {
    order.push_back(optAction_[i]);
    order.push_back(imgSetting_[i]);
  }
  order.insert(order.end(), {txtSrcDir_, cmdSrcDir_, cmdOpenSrc_, txtDstDir_, cmdDstDir_,
                             cmdOpenDst_, optTimer_[0], cboHour_, cboMinute_, optTimer_[1],
                             txtInterval_, cmdStopTimer_, lvwDocList_, lvwFileList_, cmdPreview_,
                             cmdConvert_, cmdTimerConvert_, cmdCancel_, cmdHistory_});
  SetTabOrder(order);
}

QWidget* MainWindow::BuildCommandButtons() {
  auto* area = new QWidget(this);
  auto* layout = new QHBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  cmdPreview_ = Button("cmdPreview", "转换预览", area);
  cmdConvert_ = Button("cmdConvert", "立即转换", area);
  cmdTimerConvert_ = Button("cmdTimerConvert", "定时转换", area);
  cmdCancel_ = Button("cmdCancel", "取消转换", area);
  cmdHistory_ = Button("cmdHistory", "转换日志", area);
  layout->addStretch(1);
  for (QPushButton* button : {cmdPreview_, cmdConvert_, cmdTimerConvert_, cmdCancel_, cmdHistory_}) {
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 40);
    button->setAutoDefault(false);
    layout->addWidget(button);
  }
  cmdCancel_->hide();  // shown only while a run is in progress

  connect(cmdPreview_, &QPushButton::clicked, this, &MainWindow::PreviewRequested);
  connect(cmdConvert_, &QPushButton::clicked, this, &MainWindow::ConvertRequested);
  connect(cmdTimerConvert_, &QPushButton::clicked, this, &MainWindow::TimerConvertRequested);
  connect(cmdCancel_, &QPushButton::clicked, this, &MainWindow::OnCancelClicked);
  connect(cmdHistory_, &QPushButton::clicked, this, [this] { OpenDialog(DialogId::ConvertLogs); });
  return area;
}

}  // namespace zelk
