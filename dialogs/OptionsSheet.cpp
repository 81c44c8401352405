#include "dialogs/OptionsSheet.h"

#include "dialogs/ProgramMessage.h"
#include "servers/ServerStore.h"
#include "settings/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The delay in milliseconds, as the arrows count it.
constexpr int kMinPosition = 400;
constexpr int kMaxPosition = 10000;
constexpr float kMinDelay = 0.4f;
constexpr float kMaxDelay = 10.0f;

// The arrows' position for a delay: its stored text cut to three characters ("1.55" gives 1500).
int PositionOf(float delay)
{
    const int position = int(std::lround(FormatDragTime(delay).left(3).toDouble() * 1000));
    return std::clamp(position, 0, 0xFFFF);
}

std::optional<float> ParseDelay(const QString& text)
{
    bool ok = false;
    float value = QLocale::c().toFloat(text.trimmed(), &ok);
    if (!ok)
        value = QLocale().toFloat(text.trimmed(), &ok);
    return ok ? std::optional<float>(value) : std::nullopt;
}

QString RangeMessage()
{
    return QCoreApplication::translate("COptionsPage1", "Please enter a number between %1 and %2.")
        .arg(FormatDragTime(kMinDelay), FormatDragTime(kMaxDelay));
}

} // namespace

CDelaySpin::CDelaySpin(QWidget* parent)
    : QAbstractSpinBox(parent)
{
    setObjectName(QStringLiteral("1043"));
    lineEdit()->setObjectName(QStringLiteral("1045"));
}

void CDelaySpin::stepBy(int steps)
{
    if (onStep)
        for (int i = 0; i < std::abs(steps); ++i)
            onStep(steps > 0 ? 1 : -1);
}

QAbstractSpinBox::StepEnabled CDelaySpin::stepEnabled() const
{
    return canStep ? canStep() : StepNone;
}

COptionsPage1::COptionsPage1(QWidget* parent)
    : CPropertyPage(parent)
    , m_spin(new CDelaySpin(this))
    , m_delayProblem(new QLabel(this))
    , m_showPlus(new QCheckBox(tr("Always show a plus next to remote folders"), this))
    , m_showName(new QButtonGroup(this))
    , m_wheelOver(new QCheckBox(tr("Use the mouse wheel on the window that has the focus"), this))
    , m_useMlsd(new QCheckBox(tr("Use MLSD listings where the server offers them"), this))
    , m_keepAlive(new QCheckBox(tr("Send keep-alive commands"), this))
    , m_useKeyring(new QCheckBox(tr("Keep passwords in the desktop's keyring"), this))
    , m_parallel(new QSpinBox(this))
{
    setObjectName(QStringLiteral("119"));
    m_showPlus->setObjectName(QStringLiteral("1056"));
    m_wheelOver->setObjectName(QStringLiteral("1072"));
    m_useMlsd->setObjectName(QStringLiteral("UseMLSD"));
    m_useMlsd->setToolTip(tr("Exact names, sizes and times; turn off for a server whose MLSD listings are wrong."));
    m_keepAlive->setObjectName(QStringLiteral("KeepAlive"));
    m_keepAlive->setToolTip(tr("A command to an idle server now and then, so that it does not close the connection; "
                               "not after 30 minutes without use."));
    m_useKeyring->setObjectName(QStringLiteral("UseKeyring"));
    m_useKeyring->setToolTip(tr("Server passwords go to the keyring (Secret Service) instead of the settings file."));
    m_delayProblem->setObjectName(QStringLiteral("DelayProblem"));
    m_delayProblem->setVisible(false);
    m_spin->canStep = [this] {
        CDelaySpin::StepEnabled enabled = CDelaySpin::StepNone;
        if (m_spinPosition >= kMinPosition + 1)
            enabled |= CDelaySpin::StepDownEnabled;
        if (m_spinPosition < kMaxPosition)
            enabled |= CDelaySpin::StepUpEnabled;
        return enabled;
    };
    m_spin->onStep = [this](int direction) { Step(direction); };

    auto* names = new QGroupBox(tr("Show Filename:"), this);
    auto* namesLayout = new QVBoxLayout(names);
    const QString choices[] = {tr("As is"), tr("Uppercase letters"), tr("Lowercase letters")};
    for (int i = 0; i < 3; ++i) {
        auto* choice = new QRadioButton(choices[i], names);
        choice->setObjectName(QString::number(1060 + i));
        m_showName->addButton(choice, i);
        namesLayout->addWidget(choice);
    }

    m_parallel->setObjectName(QStringLiteral("ParallelTransfers"));
    m_parallel->setRange(1, 10);
    m_parallel->setToolTip(tr("How many files a folder download, upload or copy moves at once, each over a "
                              "connection of its own. Many servers allow only a few connections."));
    auto* parallelLabel = new QLabel(tr("&Parallel transfers per job:"), this);
    parallelLabel->setObjectName(QStringLiteral("ParallelTransfersLabel"));
    parallelLabel->setBuddy(m_parallel);
    m_parallel->setAccessibleName(tr("Parallel transfers per job"));

    auto* delay = new QFormLayout;
    delay->addRow(tr("Drag delay (seconds):"), m_spin);
    delay->addRow(parallelLabel, m_parallel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(delay);
    layout->addWidget(m_delayProblem);
    layout->addWidget(m_showPlus);
    layout->addWidget(m_wheelOver);
    layout->addWidget(m_useMlsd);
    layout->addWidget(m_keepAlive);
    layout->addWidget(m_useKeyring);
    layout->addWidget(names);
    layout->addStretch();

    Load();
    connect(m_spin->Edit(), &QLineEdit::textChanged, this, &COptionsPage1::Typed);
    const auto clicked = [this] { SetModified(); };
    connect(m_showPlus, &QCheckBox::clicked, this, clicked);
    connect(m_wheelOver, &QCheckBox::clicked, this, clicked);
    connect(m_useMlsd, &QCheckBox::clicked, this, clicked);
    connect(m_keepAlive, &QCheckBox::clicked, this, clicked);
    connect(m_useKeyring, &QCheckBox::clicked, this, clicked);
    connect(m_showName, &QButtonGroup::idClicked, this, clicked);
    connect(m_parallel, &QSpinBox::valueChanged, this, [this] {
        if (!m_filling)
            SetModified();
    });
}

void COptionsPage1::Load()
{
    const AppSettings settings = ProgramSettings();
    m_dragDelay = settings.dragTime;
    m_spinPosition = std::clamp(int(std::lround(m_dragDelay * 1000)), 0, 0xFFFF);
    m_showPlus->setChecked(settings.showPlus != 0);
    m_wheelOver->setChecked(settings.wheelOver != 0);
    m_useMlsd->setChecked(settings.useMlsd != 0);
    m_keepAlive->setChecked(settings.keepAlive != 0);
    m_useKeyring->setChecked(settings.useKeyring != 0);
    m_showName->button(std::clamp(settings.showName, 0, 2))->setChecked(true);
    m_filling = true;
    m_parallel->setValue(std::clamp(settings.parallelTransfers, 1, 10));
    m_filling = false;
    Fill();
}

void COptionsPage1::Fill()
{
    m_filling = true;
    m_spin->Edit()->setText(FormatDragTime(m_dragDelay));
    m_filling = false;
    m_delayValid = true;
    m_delayProblem->setVisible(false);
    m_spin->update();
}

void COptionsPage1::Step(int direction)
{
    // An odd last digit means the delay is off the even tenths: one 0.1 s step puts it back on.
    const QString text = FormatDragTime(m_dragDelay);
    const QChar last = text.back();
    const int step = last.isDigit() && last.digitValue() % 2 == 1 ? 100 : 200;
    if (direction < 0) {
        if (m_spinPosition < kMinPosition + 1)
            return;
        m_spinPosition -= step;
        m_dragDelay -= float(step) / 1000;
    } else {
        if (m_spinPosition >= kMaxPosition)
            return;
        m_spinPosition += step;
        m_dragDelay += float(step) / 1000;
    }
    // Sums of tenths drift in binary; the stored text is the value.
    m_dragDelay = FormatDragTime(m_dragDelay).toFloat();
    SetModified();
    Fill();
}

void COptionsPage1::Typed(const QString& text)
{
    if (m_filling)
        return;
    SetModified();
    const std::optional<float> value = ParseDelay(text);
    m_delayValid = value && *value >= kMinDelay && *value <= kMaxDelay;
    m_delayProblem->setText(value ? RangeMessage() : tr("Please enter a number."));
    m_delayProblem->setVisible(!m_delayValid);
    if (!m_delayValid)
        return;
    m_dragDelay = *value;
    m_spinPosition = PositionOf(m_dragDelay);
    m_spin->update();
}

bool COptionsPage1::OnApply()
{
    if (!m_delayValid) {
        ShowProgramMessage(this, m_delayProblem->text(), QMessageBox::Information);
        m_spin->Edit()->setFocus();
        m_spin->Edit()->selectAll();
        return false;
    }
    AppSettings settings = ProgramSettings();
    settings.dragTime = FormatDragTime(m_dragDelay).toFloat();
    settings.showPlus = m_showPlus->isChecked() ? 1 : 0;
    settings.wheelOver = m_wheelOver->isChecked() ? 1 : 0;
    settings.useMlsd = m_useMlsd->isChecked() ? 1 : 0;
    settings.keepAlive = m_keepAlive->isChecked() ? 1 : 0;
    settings.showName = std::max(0, m_showName->checkedId());
    settings.parallelTransfers = m_parallel->value();
    const bool keyringChanged = settings.useKeyring != (m_useKeyring->isChecked() ? 1 : 0);
    settings.useKeyring = m_useKeyring->isChecked() ? 1 : 0;
    SetProgramSettings(settings);
    // The passwords follow the option at once, so the file holds none once it is on.
    if (keyringChanged)
        MoveServerPasswords();
    return true;
}

bool COptionsPage1::OnCancel()
{
    // The first Cancel only takes the edits back; the sheet stays for a second look.
    SetModified(false);
    Load();
    return false;
}

COptionsPage2::COptionsPage2(QWidget* parent)
    : CPropertyPage(parent)
    , m_downloadDir(new QLineEdit(this))
{
    setObjectName(QStringLiteral("175"));
    m_downloadDir->setObjectName(QStringLiteral("1099"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("1100"));

    auto* row = new QHBoxLayout;
    row->addWidget(m_downloadDir, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Default download directory:"), this));
    layout->addLayout(row);
    layout->addStretch();

    Load();
    connect(m_downloadDir, &QLineEdit::textChanged, this, [this] {
        if (!m_filling)
            SetModified();
    });
    connect(browse, &QPushButton::clicked, this, &COptionsPage2::Browse);
}

void COptionsPage2::Load()
{
    // From the file itself, as the value was stored.
    m_filling = true;
    m_downloadDir->setText(LoadAppSettings().defaultDownloadDir);
    m_filling = false;
}

void COptionsPage2::Browse()
{
    const QString start = m_downloadDir->text().isEmpty() ? QDir::rootPath() : m_downloadDir->text();
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Select a default download directory:"), start,
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    m_downloadDir->setText(QDir::toNativeSeparators(folder));
    SetModified();
}

bool COptionsPage2::OnApply()
{
    AppSettings settings = ProgramSettings();
    settings.defaultDownloadDir = m_downloadDir->text();
    SetProgramSettings(settings);
    return true;
}

bool COptionsPage2::OnCancel()
{
    SetModified(false);
    Load();
    return false;
}

COptions::COptions(QWidget* parent)
    : CPropertySheet(tr("Options:"), parent)
{
    setObjectName(QStringLiteral("Options"));
    AddPage(new COptionsPage1(this), tr("Options"));
    AddPage(new COptionsPage2(this), tr("Connection"));
    AddPage(new CServerPropertyPage2(QString(), this), tr("Customize Servers"));
}

bool ShowOptions(QWidget* owner)
{
    const int showName = ProgramSettings().showName;
    COptions sheet(owner);
    sheet.exec();
    return ProgramSettings().showName != showName;
}
