#include "ui/quran/Topics.h"

#include <cstring>
#include <iterator>

namespace {

// The topic buttons from top to bottom: button name, the code it writes, caption.
const Topics::Topic kTopics[] = {
    {"aa", "aa", u"صفات خداوند"},
    {"bb", "bb", u"صفات رحيميه خداوند"},
    {"dd", "dd", u"قرآن"},
    {"ee", "ee", u"حضرت محمد(ص)"},
    {"gg", "gg", u"امير المؤمنين(ع)"},
    {"hh", "hh", u"اهل بيت عليهم السلام"},
    {"qq", "qq", u"امام زمان(عج)ومهدويت"},
    {"ttt", "tt", u"قيامت"},
    {"yy", "yy", u"بهشت"},
    {"mm", "mm", u"جهنم"},
    {"oo", "oo", u"توبه و استغفار"},
    {"ag", "ag", u"وظايف"},
    {"nn", "nn", u"مؤمنين و صالحين"},
    {"pp", "pp", u"کفار"},
    {"vv", "vv", u"رأفت در اسلام"},
    {"jj", "jj", u"نماز"},
    {"ff", "ff", u"داستانهاي قرآني"},
    {"cc", "cc", u"حکمت ها و معارف قرآني"},
    {"ao", "ao", u"سنت هاي الهي"},
    {"ae", "ae", u"دعاهاي قرآني"},
    {"ap", "ap", u"احتجاجات قرآني"},
    {"ai", "ai", u"بدکاران و متجاوزان"},
    {"ah", "ah", u"طلاق"},
    {"au", "au", u"آيات و نشانه ها"},
    {"ww", "ww", u"حضرت عيسي(ع)و قوم ايشان"},
    {"rr", "rr", u"حضرت موسي (ع)وقوم ايشان"},
    {"az", "az", u"انسان"},
    {"ll", "ll", u"حب و بغض"},
    {"ss", "ss", u"آيات الاحکام"},
    {"af", "af", u"ملائکه"},
    {"zz", "zz", u"جهاد"},
    {"ad", "ad", u"شيطان"},
    {"ass", "as", u"تفکر"},
    {"xx", "xx", u"حق و باطل"},
    {"ac", "ac", u"دنيا"},
    {"av", "av", u"صبر"},
    {"aq", "aq", u"مثل هاي قرآني"},
    {"aw", "aw", u"منافقين"},
};

} // namespace

const Topics::Topic *Topics::begin()
{
    return std::begin(kTopics);
}

const Topics::Topic *Topics::end()
{
    return std::end(kTopics);
}

const Topics::Topic *Topics::find(const char *button)
{
    for (const Topic &topic : kTopics) {
        if (std::strcmp(topic.button, button) == 0)
            return &topic;
    }
    return nullptr;
}
