#include "ui/print/Printout.h"

#include "data/PersianDigits.h"
#include "data/SuraNames.h"

const QString Printout::BasmalaText = QStringLiteral("بِسْمِ اللَّهِ الرَّحْمَٰنِ الرَّحِيمِ");

void Printout::addTitle(const QString &text)
{
    blocks.append({Block::Title, text.trimmed(), {}, 0, false, {}});
}

void Printout::addCaption(const QString &text)
{
    blocks.append({Block::Caption, text.trimmed(), {}, 0, false, {}});
}

void Printout::addVerse(int sura, int verse, const QString &arabic, const QString &translation)
{
    if (sura != m_lastSura) {
        blocks.append({Block::SuraHeading,
                       QStringLiteral("سوره ") + SuraNames::name(sura).trimmed(),
                       {},
                       sura,
                       false,
                       {}});
        m_lastSura = sura;
    }
    if (verse == 1 && sura != 1 && sura != 9)
        blocks.append({Block::Basmala, BasmalaText, {}, 0, true, {}});
    blocks.append({Block::Verse, arabic.trimmed(), translation.trimmed(), verse, true, {}});
}

void Printout::addText(const QString &text, bool arabic, std::vector<Range> hits)
{
    blocks.append({Block::Text, text, {}, 0, arabic, std::move(hits)});
}

QString Printout::verseMark(int verse)
{
    return QStringLiteral("﴿") + PersianDigits::number(verse) + QStringLiteral("﴾");
}
