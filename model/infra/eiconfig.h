#pragma once

#include <QObject>
#include <QVariant>

class QSettings;

// The operator's persistent preferences, one INI file beside the program.
// A value is addressed by group and key; a missing key reads as an empty
// text, which converts to false or 0.
class EIConfig : public QObject
{
    Q_OBJECT
public:
    EIConfig();
    ~EIConfig() override;

    void init(const QString& path);
    QVariant value(const QString& group, const QString& key) const;
    void setValue(const QString& group, const QString& key, const QVariant& value);

private:
    QSettings* settings = nullptr;
};

// The settings group and key of the folded-corner check of intake pages.
extern const QString configGroupAlgorithm;  // "ALGORITHM"
extern const QString configKeyCheckCorner;  // "is_check_corner"

extern EIConfig config;
