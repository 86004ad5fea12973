#pragma once

#include <QString>
#include <QVariantList>

// A statement text in which each '?' stands for one value of `values`, in order. Text values
// travel this way so that no quote inside them can end a literal or change the statement.
struct Statement {
    QString text;
    QVariantList values;
};
