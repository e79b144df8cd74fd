// Binding of named components to resource ids, and the texts of the current language.
//
// Every window binds its components into one program-wide map keyed by component name; the first
// component bound under a name keeps it. applyI18nAll writes each binding's texts (and, for
// image buttons, language-specific pictures) in the current language.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>
#include <map>
#include <string>

class QTreeWidget;

// Property name → resource id, visited in ascending property-name order.
using I18nPropertyTable = std::map<std::string, std::string>;

// Writes the localised texts of one binding into its component.
using I18nApplyProcedure = std::function<void(const std::string& name, QObject* component)>;

struct tagI18nComponentOption {
    I18nApplyProcedure apply;
    QPointer<QObject> component;
    I18nPropertyTable properties;
};

// A job-list column as a bindable component: column `column` of `tree`.
class I18nListColumn : public QObject {
    Q_OBJECT
public:
    I18nListColumn(QTreeWidget* tree, int column);
    QTreeWidget* tree() const { return tree_; }
    int column() const { return column_; }

private:
    QTreeWidget* tree_;
    int column_;
};

// Reads the language files of the folder "lang" beside the executable, replacing any loaded,
// and lets the choice objects take their language and texts from here.
void loadI18nFolder();

// Plugs the current language and getI18nText into the choice objects' text lookup.
void plugI18nIntoChoices();

void setI18nLanguage(const QString& code);
QString getI18nLanguage();

// Binds a component under name. Without a procedure, one is chosen from the component's kind
// (see chooseI18nProcedure); components of no known kind stay unapplied. A name already bound
// keeps its first component. The profile picker passes its own procedure.
void bindI18nComponent(const std::string& name, QObject* component, I18nApplyProcedure apply = {});

// Sets the resource id of one property of a bound name; does nothing for unbound names.
void setI18nProperty(const std::string& name, const std::string& property, const std::string& id);

struct I18nRow {
    const char* property;
    const char* id;
};

// Binds a named component (its objectName is the binding name) and sets its rows in order.
void bindI18nRows(QObject* component, const std::vector<I18nRow>& rows);

// As bindI18nRows, for a name that several windows use. When an earlier window already holds the
// name, this component does not take the binding; it follows it instead: after each
// applyI18nAll it receives the texts of the holder's rows, so it is never left without them.
void bindSharedI18nRows(QObject* component, const std::vector<I18nRow>& rows);

// Binds the columns of a list under "%05d" of firstId + column, each with the row ("Text", id).
void bindI18nColumns(QTreeWidget* tree, int firstId);

void applyI18nAll();

// The text of id in the current language, or null when the resources have none.
const char* getI18nText(const char* id);
QString i18nText(const char* id);

// Index of the current language among codes, -1 when absent or when there is no language/list.
int findI18nLanguage(const char* const* codes, int count);

I18nApplyProcedure chooseI18nProcedure(QObject* component);

// Visits the rows of a bound name in ascending property-name order with each row's text in the
// current language (null when the resources have none). Apply procedures are built on it.
void forEachI18nRow(const std::string& name,
                    const std::function<void(const std::string& property, const char* text)>& visit);

// The binding found under name, the whole map, and emptying it (at program end).
const tagI18nComponentOption* findI18nBinding(const std::string& name);
const std::map<std::string, tagI18nComponentOption>& i18nBindings();
void clearI18nBindings();

