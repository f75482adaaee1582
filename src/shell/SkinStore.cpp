#include "SkinStore.h"

#include <QDir>
#include <QLabel>

const QString SkinStore::kFileNames[kPictureCount] = {
    QStringLiteral("ButtonUP.Jpg"), QStringLiteral("ButtonDN.Jpg"),   QStringLiteral("CloseUP.Jpg"),
    QStringLiteral("CloseDN.Jpg"),  QStringLiteral("MinimizeUP.Jpg"), QStringLiteral("MinimizeDN.Jpg"),
    QStringLiteral("CheckON.Jpg"),  QStringLiteral("CheckOFF.Jpg"),
};

namespace
{

QString backgroundFor(const QString& formName)
{
    if (formName == QLatin1String("frmLineInfo") || formName == QLatin1String("frmCommManual")
        || formName == QLatin1String("frmUsersList"))
        return QStringLiteral("385x281.Jpg");
    if (formName == QLatin1String("frmAbout") || formName == QLatin1String("frmReport")
        || formName == QLatin1String("CommSetup"))
        return QStringLiteral("380x165.Jpg");
    return {};
}

} // namespace

SkinStore::SkinStore(QString appPath)
    : m_appPath(std::move(appPath))
{
}

QString SkinStore::skinFolder() const
{
    return QDir(m_appPath).filePath(QStringLiteral("Skin"));
}

void SkinStore::LoadSkin(QWidget* form)
{
    const QString formName = form->objectName();
    const QString background = backgroundFor(formName);
    if (background.isEmpty())
        return;
    const QDir folder(skinFolder());
    auto* label = form->findChild<QLabel*>(QStringLiteral("imgBackground"), Qt::FindDirectChildrenOnly);
    if (!label) {
        label = new QLabel(form);
        label->setObjectName(QStringLiteral("imgBackground"));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    const QPixmap picture(folder.filePath(background));
    label->setPixmap(picture);
    label->setGeometry(0, 0, picture.width(), picture.height());
    label->lower();
    if (formName == QLatin1String("frmLineInfo")) {
        for (int i = 0; i < kPictureCount; ++i)
            m_pictures.at(size_t(i)) = QPixmap(folder.filePath(kFileNames[i]));
    }
}
