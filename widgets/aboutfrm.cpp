#include "aboutfrm.h"

#include "ui_aboutform.h"

#include <QApplication>

#include <algorithm>

namespace {

constexpr QPoint kDesignedPosition(406, 245);
constexpr int kTitlePixels = 32;
constexpr int kIconPixels = 32;
constexpr int kTitleWidth = 212 - 2; // the title label's width less its shadow
constexpr int kTextWidth = 236;      // the message and the links, with room for the screws
constexpr int kSmallestPixels = 7;

// The largest pixel size, up to the font's own, at which every line fits the width.
int FittingPixelSize(QFont font, const QStringList &lines, int width)
{
    int pixels = QFontInfo(font).pixelSize();
    for (; pixels > kSmallestPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        if (std::all_of(lines.begin(), lines.end(),
                        [&](const QString &line) { return metrics.horizontalAdvance(line) <= width; }))
            break;
    }
    return pixels;
}

// A label sized to its text, keeping the centre it was designed around.
void FitCentred(QLabel *label)
{
    const int centre = label->geometry().center().x();
    label->adjustSize();
    label->move(centre - label->width() / 2, label->y());
}

} // namespace

// Outside any namespace: the macro declares the resource's initialiser at global scope.
static void InitAboutResources()
{
    Q_INIT_RESOURCE(about);
}

TAboutFrm::TAboutFrm(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAboutFrm>())
{
    InitAboutResources();
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(260, 232);
    move(kDesignedPosition);
    FitTextsToFont();
    connect(m_ui->Button1, &QPushButton::clicked, this, &TAboutFrm::Button1Click);
}

TAboutFrm::~TAboutFrm() = default;

void TAboutFrm::Button1Click()
{
    reject();
}

// The layout was drawn for a narrower face than a Linux desktop has: the texts take their own
// width, centred lines stay centred, and the forum link follows the words it ends.
void TAboutFrm::FitTextsToFont()
{
    QFont title = m_ui->RxLabel1->font();
    title.setPixelSize(kTitlePixels);
    title.setPixelSize(FittingPixelSize(title, {m_ui->RxLabel1->text()}, kTitleWidth));
    m_ui->RxLabel1->setFont(title);
    m_ui->RxLabel1->adjustSize();
    QFont body = font();
    const QStringList lines = m_ui->Label1->text().split('\n')
        << m_ui->UrlLabel1->text() << m_ui->UrlLabel2->text() << m_ui->RxLabel2->text();
    body.setPixelSize(FittingPixelSize(body, lines, kTextWidth));
    setFont(body);
    for (QLabel *label : {static_cast<QLabel *>(m_ui->RxLabel2), static_cast<QLabel *>(m_ui->UrlLabel1),
                          static_cast<QLabel *>(m_ui->UrlLabel2), static_cast<QLabel *>(m_ui->Label1)})
        FitCentred(label);
    const QFontMetrics metrics(m_ui->Label1->font());
    const QString lead = m_ui->Label1->text().section('\n', 2, 2);
    m_ui->UrlLabel3->adjustSize();
    m_ui->UrlLabel3->move(m_ui->Label1->x() + metrics.horizontalAdvance(lead),
                          m_ui->Label1->y() + 2 * metrics.lineSpacing());
}

// The program's icon is the application's; a box shown before the icon is set shows none.
void TAboutFrm::ShowApplicationIcon()
{
    const QIcon icon = QApplication::windowIcon();
    m_ui->Image1->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(kIconPixels, kIconPixels));
}

void TAboutFrm::showEvent(QShowEvent *event)
{
    ShowApplicationIcon();
    QDialog::showEvent(event);
}
