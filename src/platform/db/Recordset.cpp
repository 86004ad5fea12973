#include "platform/db/Recordset.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"
#include "platform/db/RecordsetData.h"

#include <QDate>
#include <bit>
#include <sqlite3.h>

namespace {

using db_detail::RecordsetData;

DbError NoCurrentRecord() {
    return {DbErrorNumber::NoCurrentRecord,
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                           "Requested operation requires a current record.")};
}

DbError ItemNotFound() {
    return {DbErrorNumber::ItemNotFound,
            QStringLiteral("Item cannot be found in the collection corresponding to the "
                           "requested name or ordinal.")};
}

DbError BadCriterion() {
    return {DbErrorNumber::BadArguments,
            QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are "
                           "in conflict with one another.")};
}

using Reading = RecordsetData::Reading;
using Kind = RecordsetData::Kind;

// The criterion's value: a bound value, a quoted text or a number.
QVariant CriterionValue(const QString& text, const QVariantList& values) {
    if (text == u"?") {
        if (values.isEmpty())
            throw BadCriterion();
        return values.front();
    }
    if (text.size() >= 2 && text.front() == u'\'' && text.back() == u'\'') {
        const QString inner = text.mid(1, text.size() - 2);
        // A lone quote inside would have ended the literal.
        if (QString(inner).remove(QLatin1String("''")).contains(u'\''))
            throw BadCriterion();
        return QString(inner).replace(QLatin1String("''"), QLatin1String("'"));
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        throw BadCriterion();
    return number;
}

bool Meets(const Variant& cell, const QVariant& wanted) {
    if (cell.IsNull() || !wanted.isValid() || wanted.isNull())
        return false;
    switch (cell.GetType()) {
    case Variant::Type::Text:
        return cell.ToString().compare(wanted.toString(), Qt::CaseInsensitive) == 0;
    case Variant::Type::Date:
        return wanted.typeId() == QMetaType::QDate
                   ? cell.ToDate() == wanted.toDate()
                   : cell.ToDate() == Dialect::ReadDateText(wanted.toString());
    case Variant::Type::Boolean:
        if (wanted.typeId() == QMetaType::QString)
            return cell.ToString().compare(wanted.toString(), Qt::CaseInsensitive) == 0;
        return cell.ToBool() == wanted.toBool();
    default: {
        bool ok = false;
        const double number = wanted.toDouble(&ok);
        return ok && cell.ToDouble() == number;
    }
    }
}

// The rows' storage of the last record set to go, kept for the next one on the same thread.
// Storage of a megabyte or more goes back to the system when it is freed, and taken afresh it
// costs a page fault for every 4 KiB written: more than reading the rows from the engine does.
// Only one set is kept, and none beyond a size a list of to-dos reaches.
struct SpareStorage {
    static constexpr size_t kMostBytes = size_t{8} << 20;
    std::vector<RecordsetData::Cell> cells;
    std::vector<char> bytes;
};
thread_local SpareStorage spare;

} // namespace

void RecordsetData::TakeSpareStorage() {
    cells.swap(spare.cells);
    bytes.swap(spare.bytes);
    cells.clear();
    bytes.clear();
}

RecordsetData::~RecordsetData() {
    const size_t held = cells.capacity() * sizeof(Cell) + bytes.capacity();
    const size_t kept = spare.cells.capacity() * sizeof(Cell) + spare.bytes.capacity();
    if (held > kept && held <= SpareStorage::kMostBytes) {
        spare.cells.swap(cells);
        spare.bytes.swap(bytes);
    }
}

Variant RecordsetData::Value(qsizetype row, int column) const {
    const Cell& cell = cells[static_cast<size_t>(row * columns.size() + column)];
    const Reading reading = readings[static_cast<size_t>(column)];
    switch (cell.kind) {
    case Kind::Null:
        return {};
    case Kind::Integer:
        return reading == Reading::Boolean ? Variant(cell.value != 0) : Variant(cell.value);
    case Kind::Real: {
        const auto value = std::bit_cast<double>(cell.value);
        return reading == Reading::Boolean ? Variant(value != 0.0) : Variant(value);
    }
    case Kind::Bytes:
        break;
    }
    const QString text = QString::fromUtf8(bytes.data() + cell.value, cell.size);
    if (reading == Reading::Date) {
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        if (date.isValid())
            return Variant(date);
    }
    return Variant(text);
}

Recordset::Recordset()
    : data_(std::make_shared<RecordsetData>()) {}

void Recordset::Open(const QString& source, Connection& connection, int /*cursorType*/,
                     int /*lockType*/, int /*options*/, const QVariantList& values) {
    if (data_->open)
        throw DbError(DbErrorNumber::ObjectOpen,
                      QStringLiteral("Operation is not allowed when the object is open."));
    const Connection::PreparedStatement statement = connection.Prepare(source, values);
    sqlite3_stmt* s = statement.get();

    auto data = std::make_shared<RecordsetData>();
    data->TakeSpareStorage();
    const int columnCount = sqlite3_column_count(s);
    for (int i = 0; i < columnCount; ++i) {
        data->columns.append(QString::fromUtf8(sqlite3_column_name(s, i)));
        const QString declared = QString::fromUtf8(sqlite3_column_decltype(s, i));
        data->readings.push_back(Dialect::IsBooleanType(declared) ? Reading::Boolean
                                 : Dialect::IsDateType(declared)  ? Reading::Date
                                                                  : Reading::Plain);
    }
    int code;
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
        for (int i = 0; i < columnCount; ++i) {
            // One look-up of the cell serves its type and its contents: the column calls would
            // each find the cell again.
            sqlite3_value* value = sqlite3_column_value(s, i);
            RecordsetData::Cell& cell = data->cells.emplace_back();
            switch (sqlite3_value_type(value)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
                cell.kind = Kind::Integer;
                cell.value = sqlite3_value_int64(value);
                break;
            case SQLITE_FLOAT:
                cell.kind = Kind::Real;
                cell.value = std::bit_cast<qint64>(sqlite3_value_double(value));
                break;
            default: {
                const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
                cell.kind = Kind::Bytes;
                cell.size = sqlite3_value_bytes(value);
                cell.value = static_cast<qint64>(data->bytes.size());
                data->bytes.insert(data->bytes.end(), bytes, bytes + cell.size);
                break;
            }
            }
        }
        ++data->rowCount;
    }
    if (code != SQLITE_DONE)
        connection.ThrowEngineError(code);
    data->open = true;
    data_ = std::move(data);
    fields_.clear();
    fields_.reserve(static_cast<size_t>(columnCount));
    for (int i = 0; i < columnCount; ++i)
        fields_.push_back(Field(data_, i));
}

void Recordset::Open(const Statement& statement, Connection& connection, int cursorType,
                     int lockType, int options) {
    Open(statement.text, connection, cursorType, lockType, options, statement.values);
}

void Recordset::Close() {
    data_->open = false;
}

bool Recordset::IsOpen() const {
    return data_->open;
}

RecordsetData& Recordset::OpenData() const {
    if (!data_->open)
        throw DbError(DbErrorNumber::ObjectClosed,
                      QStringLiteral("Operation is not allowed when the object is closed."));
    return *data_;
}

int Recordset::RecordCount() const {
    return static_cast<int>(OpenData().rowCount);
}

void Recordset::MoveFirst() {
    RecordsetData& data = OpenData();
    if (data.rowCount == 0)
        throw NoCurrentRecord();
    data.position = 0;
}

void Recordset::MoveNext() {
    RecordsetData& data = OpenData();
    if (data.position >= data.rowCount)
        throw NoCurrentRecord();
    ++data.position;
}

bool Recordset::Eof() const {
    const RecordsetData& data = OpenData();
    return data.position >= data.rowCount;
}

int Recordset::ColumnIndex(const QString& columnName) const {
    const RecordsetData& data = OpenData();
    // Callers read the same few columns on every row, each spelled one way: a short list of
    // the spellings seen is searched before any comparison without regard to case.
    for (const auto& [spelling, column] : data.names)
        if (spelling == columnName)
            return column;
    for (qsizetype i = 0; i < data.columns.size(); ++i)
        if (data.columns[i].compare(columnName, Qt::CaseInsensitive) == 0) {
            data.names.emplace_back(columnName, static_cast<int>(i));
            return static_cast<int>(i);
        }
    throw ItemNotFound();
}

const Field& Recordset::Fields(const QString& columnName) const {
    return fields_[static_cast<size_t>(ColumnIndex(columnName))];
}

const Field& Recordset::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        throw ItemNotFound();
    return fields_[static_cast<size_t>(index)];
}

int Recordset::FieldCount() const {
    return static_cast<int>(OpenData().columns.size());
}

void Recordset::Find(const QString& criterion, const QVariantList& values) {
    RecordsetData& data = OpenData();
    const qsizetype equals = criterion.indexOf(u'=');
    if (equals < 0)
        throw BadCriterion();
    QString name = criterion.left(equals).trimmed();
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2);
    if (name.isEmpty())
        throw BadCriterion();
    const int column = ColumnIndex(name);
    const QVariant wanted = CriterionValue(criterion.mid(equals + 1).trimmed(), values);
    while (data.position < data.rowCount && !Meets(data.Value(data.position, column), wanted))
        ++data.position;
}

void Recordset::Find(const Statement& criterion) {
    Find(criterion.text, criterion.values);
}

QString Field::Name() const {
    return data_->columns.value(column_);
}

Variant Field::Value() const {
    if (!data_->open || data_->position >= data_->rowCount)
        throw NoCurrentRecord();
    return data_->Value(data_->position, column_);
}
