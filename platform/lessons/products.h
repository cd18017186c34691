#pragma once

#include <span>

#include <QString>

namespace lessons {

// What the tools need to know of a product: its subject files and which languages go where.
struct ProductInfo
{
    QString programCode;
    QString extension;
    QString interfaceLanguage; // phrasebook column of the learner's own language: "en" or "es"
    QString taughtLanguage; // phrasebook column of the language taught
    QString voice; // espeak-ng voice that speaks the taught language
};

std::span<const ProductInfo> products();
const ProductInfo* findProduct(const QString& programCode);
const ProductInfo* productForExtension(const QString& extension);

}
