#include "ui/frm_about.h"

#include "ui/app_icon.h"
#include "ui/named.h"
#include "ui/version.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane {

namespace {

// A read-only line wide enough for its text, up to a width that keeps the box
// on a small screen; a longer text scrolls and shows whole in the hint.
QLineEdit *InfoLine(const char *name, const QString &text, QWidget *parent)
{
    auto *field = Named(new QLineEdit(text, parent), name);
    field->setReadOnly(true);
    field->setToolTip(text);
    field->setCursorPosition(0);
    const int wanted = field->fontMetrics().horizontalAdvance(text) + 4 * field->fontMetrics().averageCharWidth();
    field->setMinimumWidth(std::clamp(wanted, 320, 640));
    return field;
}

} // namespace

QList<ProgramCommand> SystemInformationTools()
{
    return {
        {QStringLiteral("kinfocenter"), {}},
        {QStringLiteral("gnome-control-center"), {QStringLiteral("info-overview")}},
        {QStringLiteral("xfce4-about"), {}},
        {QStringLiteral("hardinfo2"), {}},
        {QStringLiteral("hardinfo"), {}},
    };
}

FrmAbout::FrmAbout(Platform platform, const ProgramFolders &folders, QWidget *parent)
    : QDialog(parent), m_platform(std::move(platform))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于 Quorvane"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Picture1 = Named(new QLabel(this), "Picture1");
    Picture1->setPixmap(AppIcon().pixmap(64, 64));
    Picture1->setAlignment(Qt::AlignTop);

    lblTitle = Named(new QLabel(QStringLiteral("Quorvane  版本 %1.%2.%3")
                                    .arg(VersionMajor)
                                    .arg(VersionMinor)
                                    .arg(VersionRevision),
                                this),
                     "lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    lblTitle->setFont(titleFont);
    lblDescription = Named(new QLabel(QStringLiteral("　　\r\n　　如果您有好的建议，请来信告诉我！"), this),
                           "lblDescription");

    Frame1 = Named(new QGroupBox(QStringLiteral("应用程序信息"), this), "Frame1");
    const QString logPath = folders.userFile(QStringLiteral("Log.txt"));
    Text1 = InfoLine("Text1", QStringLiteral("制作：Quorvane 开发者"), Frame1);
    Text2 = InfoLine("Text2", QStringLiteral("许可：GPL-3.0-or-later（GNU 通用公共许可证第 3 版或更新版本），自由软件，不提供任何担保"),
                     Frame1);
    Text3 = InfoLine("Text3", QStringLiteral("设置文件：") + QDir::toNativeSeparators(folders.iniPath()), Frame1);
    Text4 = InfoLine("Text4", QStringLiteral("计算日志：") + QDir::toNativeSeparators(logPath), Frame1);
    auto *frameLayout = new QVBoxLayout(Frame1);
    for (QLineEdit *field : {Text1, Text2, Text3, Text4})
        frameLayout->addWidget(field);

    cmdOK = Named(new QPushButton(QStringLiteral("确定"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = Named(new QPushButton(QStringLiteral("系统信息(&S)..."), this), "cmdSysInfo");
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::StartSysInfo);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblDescription);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(Picture1);
    top->addSpacing(8);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    cmdOK->setFocus();
}

void FrmAbout::StartSysInfo()
{
    for (const ProgramCommand &tool : SystemInformationTools()) {
        if (m_platform.programStarter->start(tool.program, tool.arguments))
            return;
    }
    m_platform.messageBoxes->plain(this, QStringLiteral("此时系统信息不可用"));
}

} // namespace quorvane
