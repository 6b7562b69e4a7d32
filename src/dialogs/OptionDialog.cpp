#include "dialogs/OptionDialog.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "dialogs/DialogWidgets.h"
#include "dialogs/OptionDialogs.h"
#include "settings/SettingsFile.h"

namespace zelk {

OptionDialog::OptionDialog(QWidget* parent, Settings& settings, ProgramPlaces places,
                           const char* name, const QString& caption)
    : QDialog(parent),
      settings_(settings),
      places_(std::move(places)),
      cmdOK_(MakeButton("cmdOK", QStringLiteral("确 定"))),
      cmdCancel_(MakeButton("cmdCancel", QStringLiteral("取 消"))) {
  setObjectName(QLatin1String(name));
  setWindowTitle(caption);
  setModal(true);
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, [this] {
    if (Store()) accept();
  });
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* OptionDialog::MakeImageCompressButton() {
  QPushButton* button = MakeButton("cmdImageCompress", QStringLiteral("图像压缩设置"));
  connect(button, &QPushButton::clicked, this,
          [this] { ShowImageCompressOptions(this, settings_, places_); });
  return button;
}

QBoxLayout* OptionDialog::MakeButtonRow(QPushButton* leading) {
  auto* row = new QHBoxLayout;
  if (leading != nullptr) row->addWidget(leading);
  row->addStretch(1);
  row->addWidget(cmdOK_);
  row->addWidget(cmdCancel_);
  return row;
}

// A failed write leaves the record changed and is not reported, as with
// every other writer of the settings file.
void WriteSection(const Settings& settings, SettingSection section) {
  for (const SettingKey& key : SettingKeysOf(section)) WriteSettingKey(settings, key.Id);
}

void WriteSection(const Settings& settings, std::span<const SettingId> keys) {
  for (const SettingId key : keys) WriteSettingKey(settings, key);
}

}  // namespace zelk
