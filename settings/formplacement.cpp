#include "formplacement.h"

#include "apperror.h"
#include "screenfit.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

#include <exception>
#include <optional>

namespace {

const char *const kChainHead = "velorandPlacementChain";
const char *const kReported = "velorandPlacementReported";

TScreenInfo PrimaryScreenInfo()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->size(), qRound(screen->logicalDotsPerInch()), ScreenFit::WorkAreas()};
}

TFormPlacement *ChainHead(const QWidget *window)
{
    return qobject_cast<TFormPlacement *>(window->property(kChainHead).value<QObject *>());
}

void SetChainHead(QWidget *window, TFormPlacement *head)
{
    window->setProperty(kChainHead, QVariant::fromValue<QObject *>(head));
}

// Words of a stored position list, separated by runs of commas and blanks.
QStringList Words(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[, ]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

int Word(const QStringList &words, int index, int defaultValue)
{
    return index < words.size() ? TStoreSection::ParseInteger(words[index], defaultValue)
                                : defaultValue;
}

QString FourNumbers(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

// Left, top, right and bottom, with the current rectangle's edges for missing words. Nothing for a
// rectangle no window can take: empty (right not beyond left, bottom not below top) or beyond
// the sizes Qt can give a window.
std::optional<QRect> NormalRect(const QStringList &words, const QRect &current)
{
    const qint64 left = Word(words, 0, current.left());
    const qint64 top = Word(words, 1, current.top());
    const qint64 width = Word(words, 2, current.left() + current.width()) - left;
    const qint64 height = Word(words, 3, current.top() + current.height()) - top;
    const auto fits = [](qint64 value) { return qAbs(value) <= QWIDGETSIZE_MAX; };
    if (width <= 0 || height <= 0 || !fits(left) || !fits(top) || !fits(width) || !fits(height))
        return std::nullopt;
    return QRect(int(left), int(top), int(width), int(height));
}

bool IsSizeable(const QWidget *window)
{
    return window->minimumSize() != window->maximumSize()
        && !(window->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
}

} // namespace

TFormPlacement::TFormPlacement(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_screen(PrimaryScreenInfo)
{
    Q_ASSERT(window);
    // A window nobody has moved yet is placed by the window system and opens maximized.
    m_defaultPositioned = !window->testAttribute(Qt::WA_Moved);
    m_previous = ChainHead(window);
    SetChainHead(window, this);
    window->installEventFilter(this);
}

TFormPlacement::~TFormPlacement()
{
    // A derived component has run its own destroy pass already, with its properties.
    HandleDestroy();
    Detach();
}

QString TFormPlacement::StateKeyPath(const QString &executablePath)
{
    return QStringLiteral("Software\\") + QFileInfo(executablePath).completeBaseName();
}

QString TFormPlacement::ProgramKey() const
{
    if (!m_programKey.isEmpty())
        return m_programKey;
    return StateKeyPath(QCoreApplication::applicationFilePath());
}

TStoreSection TFormPlacement::Section() const
{
    return TStoreSection(m_store, ProgramKey() + QLatin1Char('\\') + m_iniSection);
}

TScreenInfo TFormPlacement::Screen() const
{
    return m_screen ? m_screen() : PrimaryScreenInfo();
}

QString TFormPlacement::ScreenSuffix() const
{
    const QSize size = Screen().Size;
    return QStringLiteral("(%1x%2)").arg(size.width()).arg(size.height());
}

bool TFormPlacement::IsMainWindow() const
{
    return m_window->isWindow() && !m_window->parentWidget();
}

void TFormPlacement::RestoreWindowState()
{
    if (!m_window)
        return;
    m_saved = false;
    QStringList problems;
    if (const std::optional<QString> refusal = m_store.Refusal())
        problems.append(QStringLiteral("Settings are not read or saved\n") + *refusal);
    // A failure to create the key shows at the first save; reading works without it.
    (void)m_store.CreateKey(ProgramKey());
    TStoreSection section = Section();
    // A bad value must keep neither the rest from being restored nor the save from mending it.
    section.ReadBadValuesAsMissing();
    const bool current = section.ReadInteger(QStringLiteral("FormVersion"), 0) >= m_version;
    if (current)
        ReadWindowPlacement(section);
    problems += section.Problems();
    m_restored = true;
    // Bad property values are skipped silently: each keeps its control as it is.
    if (current)
        LoadStoredProperties(section);
    AdjustMaxPosition();
    for (const QString &problem : problems)
        Report(problem);
}

void TFormPlacement::ReadWindowPlacement(const TStoreSection &section)
{
    TPlacementRecord record = WindowPlacement::Read(m_window);
    record.Flags = section.ReadInteger(QStringLiteral("Flags"), record.Flags);
    if (ReadPositions(section, record))
        WindowPlacement::WritePositions(m_window, record);
    ReadState(section);
}

// True when the stored positions are to be applied to the window.
bool TFormPlacement::ReadPositions(const TStoreSection &section, TPlacementRecord &record) const
{
    const auto read = [&](const QString &name) {
        const QString text = section.ReadString(name + ScreenSuffix(), QString());
        return text.isEmpty() ? section.ReadString(name, QString()) : text;
    };
    bool found = false;
    const QStringList minMax = Words(read(QStringLiteral("MinMaxPos")));
    if (!minMax.isEmpty()) {
        record.MinPosition = {Word(minMax, 0, 0), Word(minMax, 1, 0)};
        record.MaxPosition = {Word(minMax, 2, 0), Word(minMax, 3, 0)};
        found = true;
    }
    const QRect current = record.Normal;
    std::optional<QRect> normal = current;
    const QStringList norm = Words(read(QStringLiteral("NormPos")));
    if (!norm.isEmpty()) {
        normal = NormalRect(norm, current);
        found = true;
    }
    const int pixelsPerInch = Screen().PixelsPerInch;
    const int storedPixelsPerInch = section.ReadInteger(QStringLiteral("PixelsPerInch"), pixelsPerInch);
    if (!found || storedPixelsPerInch != pixelsPerInch || !normal)
        return false;
    record.Normal = *normal;
    if (!IsSizeable(m_window))
        record.Normal.setSize(current.size());
    record.Normal = OnScreen(record.Normal);
    return true;
}

// A rectangle from another screen arrangement, or edited by hand, must not leave the window out
// of reach or larger than any screen. Fitted at the size the window will take.
QRect TFormPlacement::OnScreen(QRect normal) const
{
    normal.setSize(normal.size().expandedTo(m_window->minimumSize()).boundedTo(m_window->maximumSize()));
    const TScreenInfo screen = Screen();
    const QList<QRect> areas = screen.WorkAreas.isEmpty() ? QList<QRect>{QRect(QPoint(), screen.Size)}
                                                          : screen.WorkAreas;
    return ScreenFit::FitToWorkAreas(normal, WindowPlacement::FrameMargins(m_window), areas);
}

void TFormPlacement::ReadState(const TStoreSection &section)
{
    Qt::WindowStates state = m_window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    const bool maximizedByDefault = IsMainWindow() && m_defaultPositioned;
    Qt::WindowState wanted = maximizedByDefault ? Qt::WindowMaximized : Qt::WindowNoState;
    switch (section.ReadInteger(QStringLiteral("ShowCmd"), 0)) {
    case 1: case 5: case 9:
        wanted = Qt::WindowNoState;
        break;
    case 2: case 6: case 7:
        wanted = Qt::WindowMinimized;
        break;
    case 3:
        wanted = Qt::WindowMaximized;
        break;
    default:
        break;
    }
    if (wanted == Qt::WindowMinimized && IsMainWindow()) {
        // Minimizing before the window is on screen would be lost; minimize once it is.
        m_window->setWindowState(state);
        QMetaObject::invokeMethod(m_window.data(), &QWidget::showMinimized, Qt::QueuedConnection);
        return;
    }
    m_window->setWindowState(state | wanted);
}

void TFormPlacement::AdjustMaxPosition()
{
    TPlacementRecord record = WindowPlacement::Read(m_window);
    const QPoint frame = WindowPlacement::FrameSize(m_window);
    record.MaxPosition = -frame;
    WindowPlacement::WritePositions(m_window, record);
}

void TFormPlacement::SaveWindowState()
{
    // A store that is no file was reported at the restore: the program runs without saving.
    if (!m_window || (!m_restored && m_active) || m_store.Refusal())
        return;
    // A store that cannot take the key fails the writes below, which report it.
    (void)m_store.CreateKey(ProgramKey());
    TStoreSection section = Section();
    section.StartBatch();
    section.WriteInteger(QStringLiteral("FormVersion"), m_version);
    WriteWindowPlacement(section);
    section.WriteString(QStringLiteral("Visible"), QString::number(m_destroying ? 1 : 0));
    SaveStoredProperties(section);
    section.CommitBatch();
    m_saved = true;
    m_window->setProperty(kReported, QVariant());
}

void TFormPlacement::WriteWindowPlacement(TStoreSection &section) const
{
    const TPlacementRecord record = WindowPlacement::Read(m_window);
    section.WriteInteger(QStringLiteral("Flags"), record.Flags);
    section.WriteInteger(QStringLiteral("ShowCmd"), record.ShowCmd);
    section.WriteInteger(QStringLiteral("PixelsPerInch"), Screen().PixelsPerInch);
    const auto writeTwice = [&](const QString &name, const QString &text) {
        section.WriteString(name + ScreenSuffix(), text);
        section.WriteString(name, text);
    };
    writeTwice(QStringLiteral("MinMaxPos"),
               FourNumbers(record.MinPosition.x(), record.MinPosition.y(),
                           record.MaxPosition.x(), record.MaxPosition.y()));
    const QRect normal = record.Normal;
    writeTwice(QStringLiteral("NormPos"),
               FourNumbers(normal.left(), normal.top(), normal.left() + normal.width(),
                           normal.top() + normal.height()));
}

bool TFormPlacement::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees many events a second; only two of them are worth looking up the chain for.
    const QEvent::Type type = event->type();
    if (watched != m_window || (type != QEvent::Show && type != QEvent::Close) || !IsChainHead())
        return false;
    if (type == QEvent::Show && !m_shown) {
        m_shown = true;
        HandleShow();
    } else if (type == QEvent::Close) {
        bool canClose = event->isAccepted();
        HandleCloseQuery(canClose);
        event->setAccepted(canClose);
        return !canClose;
    }
    return false;
}

bool TFormPlacement::IsChainHead() const
{
    return ChainHead(m_window) == this;
}

void TFormPlacement::HandleShow()
{
    if (m_active)
        RunReporting(&TFormPlacement::RestoreWindowState);
    if (m_previous)
        m_previous->HandleShow();
}

void TFormPlacement::HandleCloseQuery(bool &canClose)
{
    if (m_previous)
        m_previous->HandleCloseQuery(canClose);
    if (canClose && m_active)
        RunReporting(&TFormPlacement::SaveWindowState);
}

void TFormPlacement::HandleDestroy()
{
    if (m_destroyHandled)
        return;
    m_destroyHandled = true;
    if (!m_window || !m_active || m_saved)
        return;
    m_destroying = true;
    RunReporting(&TFormPlacement::SaveWindowState);
    m_destroying = false;
}

void TFormPlacement::Detach()
{
    if (!m_window)
        return;
    m_window->removeEventFilter(this);
    if (IsChainHead()) {
        SetChainHead(m_window, m_previous);
        return;
    }
    // Destroyed out of order: the component attached after this one passes on to ours instead.
    for (TFormPlacement *later = ChainHead(m_window); later; later = later->m_previous) {
        if (later->m_previous == this) {
            later->m_previous = m_previous;
            return;
        }
    }
}

void TFormPlacement::RunReporting(void (TFormPlacement::*pass)())
{
    RunReportingErrors([this, pass] { (this->*pass)(); }, [this](const QString &message) { Report(message); });
}

void TFormPlacement::Report(const QString &message) const
{
    // The components of a window share one store and meet the same problem in each of their
    // passes: one box per problem until a save succeeds.
    if (m_window) {
        QStringList reported = m_window->property(kReported).toStringList();
        if (reported.contains(message))
            return;
        reported.append(message);
        m_window->setProperty(kReported, reported);
    }
    if (OnError)
        OnError(message);
    else
        qWarning("%s", qPrintable(message));
}
