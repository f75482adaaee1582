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
    // A window that has grown past its picture (more settings than the picture was made for) gets the
    // picture stretched to it; a smaller one shows the picture's top-left part.
    const bool grown = form->width() > picture.width() || form->height() > picture.height();
    label->setScaledContents(grown && !picture.isNull());
    label->setGeometry(grown ? form->rect() : QRect(QPoint(0, 0), picture.size()));
    label->lower();
    if (formName == QLatin1String("frmLineInfo")) {
        for (int i = 0; i < kPictureCount; ++i)
            m_pictures.at(size_t(i)) = QPixmap(folder.filePath(kFileNames[i]));
    }
}
