#include "rxviewoptions.h"

#include "receivedisplay.h"
#include "useroptions.h"

namespace {

const QString kFormatTexts[] = {QStringLiteral("Regional"), QStringLiteral("Milliseconds"),
                                QStringLiteral("Delta")};
const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

QString BoolText(bool value)
{
    return value ? kTrue : kFalse;
}

} // namespace

TRxViewOptions TRxViewOptions::Load()
{
    TRxViewOptions options;
    for (const char *name : {kStampFormat, kStampsInLog, kScrollBack, kHexDumpRows}) {
        if (const std::optional<QString> text = UserOptions::Text(QString::fromLatin1(name)))
            options.Set(QString::fromLatin1(name), *text);
    }
    return options;
}

void TRxViewOptions::Set(const QString &name, const QString &text)
{
    const QString value = text.trimmed();
    if (name == QLatin1String(kStampFormat)) {
        StampFormat = TStampFormat::Regional;
        for (int format = 0; format < 3; ++format)
            if (value.compare(kFormatTexts[format], Qt::CaseInsensitive) == 0)
                StampFormat = TStampFormat(format);
    } else if (name == QLatin1String(kStampsInLog)) {
        StampsInLog = value.compare(kTrue, Qt::CaseInsensitive) == 0;
    } else if (name == QLatin1String(kScrollBack)) {
        KeepScrollBack = value == QString::number(kKeptLines);
    } else if (name == QLatin1String(kHexDumpRows)) {
        HexDumpRows = value.compare(kTrue, Qt::CaseInsensitive) == 0;
    }
}

QString TRxViewOptions::Text(const QString &name) const
{
    if (name == QLatin1String(kStampFormat))
        return kFormatTexts[int(StampFormat)];
    if (name == QLatin1String(kStampsInLog))
        return BoolText(StampsInLog);
    if (name == QLatin1String(kScrollBack))
        return QString::number(KeepScrollBack ? kKeptLines : TReceiveDisplay::kMaxLines);
    if (name == QLatin1String(kHexDumpRows))
        return BoolText(HexDumpRows);
    return {};
}

void TRxViewOptions::ApplyTo(TReceiveOptions &options) const
{
    options.StampFormat = StampFormat;
    options.LogStampFormat = StampsInLog ? StampFormat : TStampFormat::Regional;
    options.KeptLines = KeepScrollBack ? kKeptLines : 0;
    options.HexRows = HexDumpRows;
}
