#pragma once

#include "ExternalDataWizardModel.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace KRML_ReportGen {

class FileService;
class UserPrompts;

// "Connect to External Data": a view of ExternalDataWizardModel, one page
// per tab, with "Back", "Next" and "Finish" below.
class ExternalDataWizard : public QDialog
{
    Q_OBJECT
public:
    ExternalDataWizard(FileService &files, UserPrompts &prompts, const QString &dbPath, QWidget *parent = nullptr);

    ExternalDataWizardModel &model() { return m_model; }
    void refresh();
    void next();
    void back();
    void saveAndClose();
    void finish();

private:
    static QStringList selectedTexts(QListWidget *list);
    static QList<int> selectedRows(QListWidget *list);
    QWidget *connectionPage();
    // The Tables and Fields pages: two lists side by side with their
    // captions, ">>" and "<<" between them; double-clicking an entry moves
    // it. names: frame, available list, selected list, ">>", "<<".
    struct ChoicePage
    {
        QString caption, availableCaption, selectedCaption;
        QStringList names;
        std::function<void(const QStringList &)> select, deselect;
    };
    QWidget *choicePage(const ChoicePage &page, QListWidget *&available, QListWidget *&selected);
    QWidget *linksPage();
    QWidget *conditionsPage();
    QWidget *sqlPage();
    void updateButtons();

    ExternalDataWizardModel m_model;
    UserPrompts &m_prompts;
    QString m_dbPath;
    QTabBar *m_tabs;
    QStackedWidget *m_pages;
    QPlainTextEdit *m_cnn;
    QListWidget *m_available, *m_selected, *m_availableFields, *m_selectedFields, *m_links, *m_conditions;
    QComboBox *m_linkTable[2], *m_linkField[2], *m_linkType, *m_paramField, *m_paramType;
    QLineEdit *m_paramValue;
    QPushButton *m_linkButton, *m_removeLink, *m_addParam, *m_back, *m_next, *m_finish;
    QPlainTextEdit *m_sql;
    QCheckBox *m_saveOnFinish;
};

} // namespace KRML_ReportGen
