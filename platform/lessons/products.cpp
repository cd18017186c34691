#include "platform/lessons/products.h"

namespace lessons {

std::span<const ProductInfo> products()
{
    static const ProductInfo table[] = {
        { "prlspa", "spa", "en", "es", "es" },
        { "prlfre", "fre", "en", "fr", "fr" },
        { "prlger", "ger", "en", "de", "de" },
        { "prlita", "ita", "en", "it", "it" },
        { "prleng", "eng", "es", "en", "en-gb" },
        { "prlfra", "fra", "es", "fr", "fr" },
        { "prlale", "ale", "es", "de", "de" },
        { "prlito", "ito", "es", "it", "it" },
    };
    return table;
}

const ProductInfo* findProduct(const QString& programCode)
{
    for (const ProductInfo& p : products()) {
        if (p.programCode == programCode)
            return &p;
    }
    return nullptr;
}

const ProductInfo* productForExtension(const QString& extension)
{
    for (const ProductInfo& p : products()) {
        if (p.extension.compare(extension, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

}
