#include "modmain.h"

#include "common/product.h"

ModMain modMain;

QString Caption(int k) { return k >= 0 && k < modMain.Captions.size() ? modMain.Captions[k] : QString(); }

bool Set_Product(const QString& programCode)
{
    modMain.ProgramCode = programCode;
    const Product* p = Find_Product(programCode);
    if (!p)
        return false;
    modMain.ProductName = p->productName;
    modMain.InterfaceLanguage = p->interfaceLanguage;
    modMain.TaughtLanguage = p->taughtLanguage;
    modMain.SubjectExtension = p->subjectExtension;
    modMain.LogoImage = p->logoImage;
    return true;
}
