#include "product.h"

#include "common/session.h"

namespace {
const Product products[] = {
    { "prlspa", "Parlanta Spanish", "English", "Spanish", "spa", 1 },
    { "prlfre", "Parlanta French", "English", "French", "fre", 2 },
    { "prlger", "Parlanta German", "English", "German", "ger", 3 },
    { "prlita", "Parlanta Italian", "English", "Italian", "ita", 4 },
    { QStringLiteral("prleng"), QStringLiteral("Parlanta Inglés"), "Spanish", "English", "eng", 5 },
    { QStringLiteral("prlfra"), QStringLiteral("Parlanta Francés"), "Spanish", "French", "fra", 6 },
    { QStringLiteral("prlale"), QStringLiteral("Parlanta Alemán"), "Spanish", "German", "ale", 7 },
    { "prlito", "Parlanta Italiano", "Spanish", "Italian", "ito", 8 },
};
}

const Product* Product_Table(int* count)
{
    *count = static_cast<int>(std::size(products));
    return products;
}

const Product* Find_Product(const QString& programCode)
{
    for (const Product& p : products) {
        if (p.programCode == programCode)
            return &p;
    }
    return nullptr;
}

QString Product_Language_Part(const QString& productName) { return productName.mid(9); }

bool Is_Spanish_Interface(const QString& programCode)
{
    return programCode == QLatin1String("prleng") || programCode == QLatin1String("prlfra")
        || programCode == QLatin1String("prlale") || programCode == QLatin1String("prlito");
}

bool Set_Product(Session& session, const QString& programCode)
{
    session.ProgramCode = programCode;
    const Product* p = Find_Product(programCode);
    if (!p)
        return false;
    session.ProductName = p->productName;
    session.InterfaceLanguage = p->interfaceLanguage;
    session.TaughtLanguage = p->taughtLanguage;
    session.SubjectExtension = p->subjectExtension;
    return true;
}
