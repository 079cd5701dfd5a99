// The preset's name field: as wide as the longest name it takes, in its own font.
#pragma once

#include <QLineEdit>

class NameField : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    // Room for as many of the widest letters as the field takes, so that no name scrolls out of sight in any font.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
};
