#pragma once

// The topical index: 38 topics, each a button that lists the verses tagged with its code.
class Topics {
public:
    struct Topic {
        const char *button; // the button's name
        const char *code;   // the two-letter code it writes
        const char16_t *caption;
    };
    static constexpr int Count = 38;

    static const Topic *begin();
    static const Topic *end();
    static const Topic *find(const char *button);
};

// Calls X(button) for every topic button, top to bottom.
#define KEVRAN_TOPIC_BUTTONS(X)                                                                    \
    X(aa)                                                                                          \
    X(bb) X(dd) X(ee) X(gg) X(hh) X(qq) X(ttt) X(yy) X(mm) X(oo) X(ag) X(nn) X(pp) X(vv) X(jj)     \
        X(ff) X(cc) X(ao) X(ae) X(ap) X(ai) X(ah) X(au) X(ww) X(rr) X(az) X(ll) X(ss) X(af) X(zz)  \
            X(ad) X(ass) X(xx) X(ac) X(av) X(aq) X(aw)
