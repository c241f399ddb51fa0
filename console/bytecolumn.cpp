#include "bytecolumn.h"

QByteArray IntToBin(int value)
{
    QByteArray text("00000000");
    auto rest = static_cast<unsigned>(value);
    for (int position = 7; position >= 0; --position) {
        text[position] = char('0' + rest % 2);
        rest /= 2;
    }
    return text;
}

TByteColumn::TByteColumn(TFormat format, QObject *parent)
    : QAbstractListModel(parent)
    , m_format(format)
{
}

void TByteColumn::Append(const void *data, int size)
{
    if (size <= 0)
        return;
    if (m_bytes.size() + size > kMaxRows)
        DropOldest(m_bytes.size() + size - kMaxRows + kMaxRows / 4);
    const int first = RowCount();
    beginInsertRows(QModelIndex(), first, first + size - 1);
    m_bytes.append(static_cast<const char *>(data), size);
    endInsertRows();
    NotifyChanged(first);
}

// Rows are counted in int; rather than overflow after days of data, the oldest quarter goes.
void TByteColumn::DropOldest(qsizetype count)
{
    beginResetModel();
    m_bytes.remove(0, std::min(count, m_bytes.size()));
    endResetModel();
    NotifyChanged(0);
}

void TByteColumn::Clear()
{
    beginResetModel();
    m_bytes.clear();
    m_bytes.squeeze();
    endResetModel();
    NotifyChanged(0);
}

QByteArray TByteColumn::FormatByte(TFormat format, std::uint8_t value)
{
    switch (format) {
    case Dec:
        return QByteArray::number(value);
    case Hex:
        return QByteArray::number(value, 16).toUpper().rightJustified(2, '0');
    case Bin:
        break;
    }
    return IntToBin(value);
}

int TByteColumn::RowCount() const
{
    return int(m_bytes.size());
}

QByteArray TByteColumn::RowText(int row) const
{
    if (row < 0 || row >= RowCount())
        return {};
    return FormatByte(m_format, static_cast<std::uint8_t>(m_bytes[row]));
}

bool TByteColumn::RowEndsLine(int row) const
{
    return row >= 0 && row < RowCount();
}

int TByteColumn::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

QVariant TByteColumn::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || index.parent().isValid())
        return {};
    return QString::fromLatin1(RowText(index.row()));
}
