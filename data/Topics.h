#pragma once

// The topical index: 38 topics, each a button that lists the verses tagged with its code.
// X(button, code, caption) for every topic button, top to bottom: the button's name (and its
// handler's, `<button>Click`), the two-letter code it writes and its caption (UTF-8). Both the
// Quran page and the database builder take the topics from here.
// clang-format off
#define KEVRAN_TOPICS(X) \
    X(aa, "aa", "صفات خداوند") \
    X(bb, "bb", "صفات رحيميه خداوند") \
    X(dd, "dd", "قرآن") \
    X(ee, "ee", "حضرت محمد(ص)") \
    X(gg, "gg", "امير المؤمنين(ع)") \
    X(hh, "hh", "اهل بيت عليهم السلام") \
    X(qq, "qq", "امام زمان(عج)ومهدويت") \
    X(ttt, "tt", "قيامت") \
    X(yy, "yy", "بهشت") \
    X(mm, "mm", "جهنم") \
    X(oo, "oo", "توبه و استغفار") \
    X(ag, "ag", "وظايف") \
    X(nn, "nn", "مؤمنين و صالحين") \
    X(pp, "pp", "کفار") \
    X(vv, "vv", "رأفت در اسلام") \
    X(jj, "jj", "نماز") \
    X(ff, "ff", "داستانهاي قرآني") \
    X(cc, "cc", "حکمت ها و معارف قرآني") \
    X(ao, "ao", "سنت هاي الهي") \
    X(ae, "ae", "دعاهاي قرآني") \
    X(ap, "ap", "احتجاجات قرآني") \
    X(ai, "ai", "بدکاران و متجاوزان") \
    X(ah, "ah", "طلاق") \
    X(au, "au", "آيات و نشانه ها") \
    X(ww, "ww", "حضرت عيسي(ع)و قوم ايشان") \
    X(rr, "rr", "حضرت موسي (ع)وقوم ايشان") \
    X(az, "az", "انسان") \
    X(ll, "ll", "حب و بغض") \
    X(ss, "ss", "آيات الاحکام") \
    X(af, "af", "ملائکه") \
    X(zz, "zz", "جهاد") \
    X(ad, "ad", "شيطان") \
    X(ass, "as", "تفکر") \
    X(xx, "xx", "حق و باطل") \
    X(ac, "ac", "دنيا") \
    X(av, "av", "صبر") \
    X(aq, "aq", "مثل هاي قرآني") \
    X(aw, "aw", "منافقين")
// clang-format on

class Topics {
public:
    struct Topic {
        const char *button;  // the button's name
        const char *code;    // the two-letter code it writes
        const char *caption; // UTF-8
    };
    static constexpr int Count = 38;

    static const Topic *begin();
    static const Topic *end();
    static const Topic *find(const char *button);
};
