#include "platform/db/Dialect.h"

#include "platform/db/DbError.h"

#include <QDate>
#include <QLocale>
#include <optional>

namespace Dialect {
namespace {

enum class Kind { Word, Text, Name, Parameter, Number, Symbol, Space };

struct Token {
    Kind kind;
    QString text;
    int parameter = -1; // index into the bound values, for Parameter tokens
};

bool IsWordStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool IsWordPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Splits the text so that quoted texts, bracketed and quoted names and comments are single
// tokens: nothing inside them is ever translated.
QList<Token> Tokenize(const QString& text) {
    QList<Token> tokens;
    int nextParameter = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        const qsizetype start = i;
        Kind kind = Kind::Symbol;
        if (c.isSpace()) {
            while (i < n && text[i].isSpace())
                ++i;
            kind = Kind::Space;
        } else if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            while (i < n && text[i] != u'\n')
                ++i;
            kind = Kind::Space;
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            kind = Kind::Space;
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            // A doubled delimiter stands for itself inside the literal.
            ++i;
            while (i < n) {
                if (text[i] == c) {
                    if (i + 1 < n && text[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            kind = c == u'\'' ? Kind::Text : Kind::Name;
        } else if (c == u'[') {
            const qsizetype end = text.indexOf(u']', i + 1);
            i = end < 0 ? n : end + 1;
            kind = Kind::Name;
        } else if (c == u'?') {
            ++i;
            while (i < n && text[i].isDigit())
                ++i;
            kind = Kind::Parameter;
        } else if (IsWordStart(c)) {
            while (i < n && IsWordPart(text[i]))
                ++i;
            kind = Kind::Word;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && text[i + 1].isDigit())) {
            while (i < n && (text[i].isLetterOrNumber() || text[i] == u'.'))
                ++i;
            kind = Kind::Number;
        } else {
            ++i;
        }
        Token token{kind, text.mid(start, i - start)};
        if (kind == Kind::Parameter) {
            // Numbered parameters ?NNN set the count on, as the engine numbers them.
            token.parameter = token.text.size() > 1 ? token.text.mid(1).toInt() - 1 : nextParameter;
            nextParameter = std::max(nextParameter, token.parameter + 1);
        }
        tokens.append(token);
    }
    return tokens;
}

QString Unquote(const Token& token) {
    if (token.kind == Kind::Text || (token.kind == Kind::Name && !token.text.startsWith(u'['))) {
        const QChar quote = token.text[0];
        QString inner = token.text.mid(1, token.text.size() - 2);
        return inner.replace(QString(2, quote), QString(quote));
    }
    if (token.kind == Kind::Name)
        return token.text.mid(1, token.text.size() - 2);
    return token.text;
}

bool IsWord(const Token& token, QLatin1String word) {
    return token.kind == Kind::Word && token.text.compare(word, Qt::CaseInsensitive) == 0;
}

// Walks the significant tokens (no spaces or comments) of a statement.
class Cursor {
public:
    explicit Cursor(const QList<Token>& tokens)
        : tokens_(tokens) {
        Skip();
    }

    bool AtEnd() const { return index_ >= tokens_.size(); }
    const Token& Peek() const { return tokens_[index_]; }
    qsizetype Index() const { return index_; }
    void Next() {
        ++index_;
        Skip();
    }
    bool Accept(QLatin1String word) {
        if (!AtEnd() && IsWord(Peek(), word)) {
            Next();
            return true;
        }
        return false;
    }
    bool AcceptSymbol(QChar symbol) {
        if (!AtEnd() && Peek().kind == Kind::Symbol && Peek().text == symbol) {
            Next();
            return true;
        }
        return false;
    }
    // A table or column name, possibly qualified ("main.tblUsers"): the last part counts.
    std::optional<QString> Name() {
        std::optional<QString> name;
        while (!AtEnd() && (Peek().kind == Kind::Word || Peek().kind == Kind::Name)) {
            name = Unquote(Peek());
            Next();
            if (!AcceptSymbol(u'.'))
                break;
        }
        return name;
    }
    // One value expression up to a ',' or ')' at its own depth, or one of the stop words.
    // Returns the token index when the expression is a single token, -1 otherwise.
    qsizetype Expression(std::initializer_list<QLatin1String> stopWords = {}) {
        int depth = 0;
        qsizetype first = -1;
        int count = 0;
        while (!AtEnd()) {
            const Token& token = Peek();
            if (depth == 0) {
                if (token.kind == Kind::Symbol && (token.text == u"," || token.text == u")"))
                    break;
                bool stop = false;
                for (const QLatin1String word : stopWords)
                    stop = stop || IsWord(token, word);
                if (stop)
                    break;
            }
            if (token.kind == Kind::Symbol && token.text == u"(")
                ++depth;
            else if (token.kind == Kind::Symbol && token.text == u")")
                --depth;
            if (count++ == 0)
                first = Index();
            Next();
        }
        return count == 1 ? first : -1;
    }

private:
    void Skip() {
        while (index_ < tokens_.size() && tokens_[index_].kind == Kind::Space)
            ++index_;
    }
    const QList<Token>& tokens_;
    qsizetype index_ = 0;
};

struct Target {
    QString column;     // the named column, or empty
    qsizetype position; // without a name: the column's place in table order, or -1
    qsizetype token;    // the value when it is a single token, or -1
};

struct Write {
    QString table;
    QList<Target> targets;
};

std::optional<Write> ParseWrite(const QList<Token>& tokens) {
    Cursor cursor(tokens);
    Write write;
    if (cursor.Accept(QLatin1String("INSERT")) || cursor.Accept(QLatin1String("REPLACE"))) {
        if (cursor.Accept(QLatin1String("OR")) && !cursor.AtEnd())
            cursor.Next();
        cursor.Accept(QLatin1String("INTO"));
        const auto table = cursor.Name();
        if (!table)
            return std::nullopt;
        write.table = *table;
        QStringList columns;
        if (cursor.AcceptSymbol(u'(')) {
            do {
                const auto column = cursor.Name();
                if (!column)
                    return std::nullopt;
                columns.append(*column);
            } while (cursor.AcceptSymbol(u','));
            if (!cursor.AcceptSymbol(u')'))
                return std::nullopt;
        }
        if (!cursor.Accept(QLatin1String("VALUES")) || !cursor.AcceptSymbol(u'('))
            return std::nullopt;
        // Without a column list the values follow the table's own column order.
        qsizetype position = 0;
        do {
            const qsizetype token = cursor.Expression();
            if (columns.isEmpty())
                write.targets.append({QString(), position, token});
            else if (position < columns.size())
                write.targets.append({columns[position], -1, token});
            ++position;
        } while (cursor.AcceptSymbol(u','));
        return write;
    }
    if (cursor.Accept(QLatin1String("UPDATE"))) {
        if (cursor.Accept(QLatin1String("OR")) && !cursor.AtEnd())
            cursor.Next();
        const auto table = cursor.Name();
        if (!table || !cursor.Accept(QLatin1String("SET")))
            return std::nullopt;
        write.table = *table;
        do {
            const auto column = cursor.Name();
            if (!column || !cursor.AcceptSymbol(u'='))
                return std::nullopt;
            const qsizetype token = cursor.Expression({QLatin1String("WHERE")});
            write.targets.append({*column, -1, token});
        } while (cursor.AcceptSymbol(u','));
        return write;
    }
    return std::nullopt;
}

DbError DateMismatch() {
    return {DbErrorNumber::TypeMismatch,
            QStringLiteral("Data type mismatch in criteria expression.")};
}

QString IsoDateFor(const QString& text) {
    const QDate date = ReadDateText(text);
    if (!date.isValid())
        throw DateMismatch();
    return date.toString(Qt::ISODate);
}

void ConvertDateValue(QVariant& value) {
    if (!value.isValid() || value.isNull())
        return;
    switch (value.typeId()) {
    case QMetaType::QDate:
        value = value.toDate().toString(Qt::ISODate);
        return;
    case QMetaType::QDateTime:
        value = value.toDateTime().date().toString(Qt::ISODate);
        return;
    case QMetaType::QString:
        value = IsoDateFor(value.toString());
        return;
    default:
        throw DateMismatch();
    }
}

} // namespace

bool IsDateType(const QString& declaredType) {
    return declaredType.contains(QLatin1String("DATE"), Qt::CaseInsensitive) ||
           declaredType.contains(QLatin1String("TIME"), Qt::CaseInsensitive);
}

bool IsBooleanType(const QString& declaredType) {
    const QString type = declaredType.trimmed().toUpper();
    return type.contains(QLatin1String("BOOL")) || type == QLatin1String("BIT") ||
           type == QLatin1String("YESNO");
}

QDate ReadDateText(const QString& text) {
    const QString trimmed = text.trimmed();
    const QString format = QStringLiteral("dd MMM yyyy");
    QDate date = QLocale(QLocale::English).toDate(trimmed, format);
    if (!date.isValid())
        date = QLocale().toDate(trimmed, format);
    if (!date.isValid() && trimmed.size() == 10)
        date = QDate::fromString(trimmed, Qt::ISODate);
    return date;
}

QString Translate(const QString& text, QVariantList& values, const ColumnLookup& columns) {
    QList<Token> tokens = Tokenize(text);
    for (Token& token : tokens) {
        if (IsWord(token, QLatin1String("TRUE")))
            token.text = QStringLiteral("1");
        else if (IsWord(token, QLatin1String("FALSE")))
            token.text = QStringLiteral("0");
    }

    if (const auto write = ParseWrite(tokens)) {
        QList<Column> tableColumns;
        bool looked = false;
        for (const Target& target : write->targets) {
            if (target.token < 0)
                continue;
            Token& token = tokens[target.token];
            if (token.kind != Kind::Text && token.kind != Kind::Parameter)
                continue;
            if (!looked) {
                tableColumns = columns(write->table);
                looked = true;
            }
            const Column* column = nullptr;
            if (!target.column.isEmpty()) {
                for (const Column& candidate : tableColumns)
                    if (candidate.name.compare(target.column, Qt::CaseInsensitive) == 0)
                        column = &candidate;
            } else if (target.position >= 0 && target.position < tableColumns.size()) {
                column = &tableColumns[target.position];
            }
            if (column == nullptr || !IsDateType(column->declaredType))
                continue;
            if (token.kind == Kind::Text) {
                token.text = u'\'' + IsoDateFor(Unquote(token)) + u'\'';
            } else if (token.parameter >= 0 && token.parameter < values.size()) {
                ConvertDateValue(values[token.parameter]);
            }
        }
    }

    QString result;
    result.reserve(text.size());
    for (const Token& token : tokens)
        result += token.text;
    return result;
}

} // namespace Dialect
