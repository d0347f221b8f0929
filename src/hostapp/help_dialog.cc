#include "hostapp/help_dialog.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The guide lives in the static library's resources; this keeps them linked.
static void InitHelpResources() { Q_INIT_RESOURCE(orvelka); }

namespace orv::hostapp {

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
  InitHelpResources();
  setObjectName(QStringLiteral("HelpDialog"));
  setWindowTitle(tr("Guida"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl(QString::fromLatin1(kGuide)), QTextDocument::MarkdownResource);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addWidget(buttons);
  resize(820, 640);
}

}  // namespace orv::hostapp
