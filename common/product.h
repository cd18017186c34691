#pragma once

#include <QString>

#include <optional>

struct Session;

struct Product
{
    QString programCode;
    QString productName;
    QString interfaceLanguage;
    QString taughtLanguage;
    QString subjectExtension;
    int logoImage = 0;
};

// The eight products one program serves; the build's program code picks one row.
const Product* Find_Product(const QString& programCode);
const Product* Product_Table(int* count);
// The language part of a product name: everything after the product word and its blank.
QString Product_Language_Part(const QString& productName);
// Sets the session's product identity from the product table; false when the code has no row.
bool Set_Product(Session& session, const QString& programCode);
// Products whose learners read Spanish take the Spanish pictures and texts.
bool Is_Spanish_Interface(const QString& programCode);
