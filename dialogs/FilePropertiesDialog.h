// "File Properties": what the file list knows about one remote row, read-only.
#pragma once

#include "operations/Interaction.h"

#include <QDialog>

class CFilePropertiesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFilePropertiesDlg(const FilePropertiesView& properties, QWidget* parent = nullptr);
};
