#pragma once

#include "settings/SettingsFont.h"
#include "settings/SettingsObject.h"

// A font settings object (kind TFontDialog): the font a font chooser starts from and returns,
// with the chooser's own options.
class FontSettings : public SettingsObject {
public:
    enum Device { fdScreen, fdPrinter, fdBoth };
    enum Option : quint32 {
        fdAnsiOnly = 1u << 0,
        fdTrueTypeOnly = 1u << 1,
        fdEffects = 1u << 2,
        fdFixedPitchOnly = 1u << 3,
        fdForceFontExist = 1u << 4,
        fdNoFaceSel = 1u << 5,
        fdNoOEMFonts = 1u << 6,
        fdNoSimulations = 1u << 7,
        fdNoSizeSel = 1u << 8,
        fdNoStyleSel = 1u << 9,
        fdNoVectorFonts = 1u << 10,
        fdShowHelp = 1u << 11,
        fdWysiwyg = 1u << 12,
        fdLimitSize = 1u << 13,
        fdScalableOnly = 1u << 14,
        fdApplyButton = 1u << 15,
    };

    explicit FontSettings(const QString &name, int left = 0, int top = 0);

    QString kindName() const override { return QStringLiteral("TFontDialog"); }

    SettingsFont &font() { return m_font; }
    const SettingsFont &font() const { return m_font; }
    void setFont(const SettingsFont &font) { m_font = font; }

    Device device() const { return m_device; }
    void setDevice(Device device) { m_device = device; }
    int minFontSize() const { return m_minFontSize; }
    void setMinFontSize(int size) { m_minFontSize = size; }
    int maxFontSize() const { return m_maxFontSize; }
    void setMaxFontSize(int size) { m_maxFontSize = size; }
    quint32 options() const { return m_options; }
    void setOptions(quint32 options) { m_options = options; }

protected:
    const std::vector<PropertyNode> &properties() const override;
    void setProperty(int id, const StreamValue &value) override;
    void writeOwnProperties(StreamObject &object) const override;

private:
    SettingsFont m_font;
    Device m_device = fdScreen;
    int m_minFontSize = 0;
    int m_maxFontSize = 0;
    quint32 m_options = fdEffects;
};
