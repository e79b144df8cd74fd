#include "i18n_binding.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "choice_combo.h"
#include "choice_objects.h"
#include "image_button.h"
#include "library_path.h"
#include "skin_folder.h"
#include "vkoI18nDll.h"

namespace {

std::map<std::string, tagI18nComponentOption>& bindings()
{
    static std::map<std::string, tagI18nComponentOption> map;
    return map;
}

// Components that share a name with an earlier binding and receive its texts.
std::vector<std::pair<std::string, QPointer<QObject>>>& followers()
{
    static std::vector<std::pair<std::string, QPointer<QObject>>> list;
    return list;
}

QString& languageCode()
{
    static QString code;
    return code;
}

template <typename Widget>
void applyCaptionAndHint(const std::string& name, QObject* component)
{
    auto* widget = static_cast<Widget*>(component);
    forEachI18nRow(name, [widget](const std::string& property, const char* text) {
        if (property == "Caption") {
            widget->setText(QString::fromUtf8(text));
        } else if (property == "Hint") {
            widget->setToolTip(QString::fromUtf8(text));
        }
    });
}

std::optional<ImageButton::State> pictureState(const std::string& property)
{
    if (property == "PicNormal") {
        return ImageButton::State::Normal;
    }
    if (property == "PicMouseOn") {
        return ImageButton::State::Hot;
    }
    if (property == "PicMouseDown") {
        return ImageButton::State::Down;
    }
    return std::nullopt;
}

void applyImageButton(const std::string& name, QObject* component)
{
    auto* button = static_cast<ImageButton*>(component);
    forEachI18nRow(name, [button](const std::string& property, const char* text) {
        if (text == nullptr) {
            return;
        }
        QString value = QString::fromUtf8(text);
        if (value.endsWith(QLatin1Char('\r'))) {
            value.chop(1);
        }
        if (const auto state = pictureState(property)) {
            button->loadPicture(*state, skinPictureFile(skinImageFolder() + value));
        } else if (property == "Caption") {
            button->setText(value);
        } else if (property == "Hint") {
            button->setToolTip(value);
        }
    });
    button->update();
}

void applyListColumn(const std::string& name, QObject* component)
{
    auto* column = static_cast<I18nListColumn*>(component);
    QTreeWidgetItem* header = column->tree()->headerItem();
    forEachI18nRow(name, [header, column](const std::string& property, const char* text) {
        if (property == "Hint") {
            header->setToolTip(column->column(), QString::fromUtf8(text));
        } else if (property == "Text") {
            header->setText(column->column(), QString::fromUtf8(text));
        }
    });
}

void applyComboBox(const std::string&, QObject* component)
{
    relocaliseChoiceCombo(static_cast<QComboBox*>(component));
}

// Kinds that honour a single property: the tree list its hint; menu items, tab sheets and
// check boxes their caption.
template <typename Write>
void applyOneProperty(const std::string& name, const char* honoured, Write write)
{
    forEachI18nRow(name, [honoured, &write](const std::string& property, const char* text) {
        if (property == honoured) {
            write(QString::fromUtf8(text));
        }
    });
}

template <typename Write>
void applyCaptionOnly(const std::string& name, Write write)
{
    applyOneProperty(name, "Caption", write);
}

QTabWidget* tabWidgetOf(QWidget* page)
{
    for (QWidget* parent = page->parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
            return tabs->indexOf(page) >= 0 ? tabs : nullptr;
        }
    }
    return nullptr;
}

bool isTabSheet(QObject* component)
{
    auto* widget = qobject_cast<QWidget*>(component);
    return widget != nullptr && tabWidgetOf(widget) != nullptr;
}

void applyTabSheet(const std::string& name, QObject* component)
{
    auto* page = static_cast<QWidget*>(component);
    applyCaptionOnly(name, [page](const QString& text) {
        if (QTabWidget* tabs = tabWidgetOf(page)) {
            tabs->setTabText(tabs->indexOf(page), text);
        }
    });
}

}  // namespace

I18nListColumn::I18nListColumn(QTreeWidget* tree, int column)
    : QObject(tree), tree_(tree), column_(column)
{
}

void loadI18nFolder()
{
    const QString folder = programFolder() + QStringLiteral("/lang/");
    clearI18nResources();
    loadI18nResources(libraryPath(folder).c_str());
    plugI18nIntoChoices();
}

void plugI18nIntoChoices()
{
    setChoiceTextLookup({[] { return getI18nLanguage().toStdString(); },
                         [](const std::string& id) {
                             const char* text = getI18nText(id.c_str());
                             return std::string(text != nullptr ? text : "");
                         }});
}

void setI18nLanguage(const QString& code)
{
    languageCode() = code;
}

QString getI18nLanguage()
{
    return languageCode();
}

I18nApplyProcedure chooseI18nProcedure(QObject* component)
{
    if (qobject_cast<QPushButton*>(component) != nullptr) {
        return applyCaptionAndHint<QPushButton>;
    }
    if (qobject_cast<QLabel*>(component) != nullptr) {
        return applyCaptionAndHint<QLabel>;
    }
    if (qobject_cast<ImageButton*>(component) != nullptr) {
        return applyImageButton;
    }
    if (auto* tree = qobject_cast<QTreeWidget*>(component)) {
        return [tree](const std::string& name, QObject*) {
            applyOneProperty(name, "Hint", [tree](const QString& text) { tree->setToolTip(text); });
        };
    }
    if (qobject_cast<I18nListColumn*>(component) != nullptr) {
        return applyListColumn;
    }
    if (qobject_cast<QComboBox*>(component) != nullptr) {
        return applyComboBox;
    }
    if (auto* action = qobject_cast<QAction*>(component)) {
        return [action](const std::string& name, QObject*) {
            applyCaptionOnly(name, [action](const QString& text) { action->setText(text); });
        };
    }
    if (isTabSheet(component)) {
        return applyTabSheet;
    }
    if (auto* box = qobject_cast<QCheckBox*>(component)) {
        return [box](const std::string& name, QObject*) {
            applyCaptionOnly(name, [box](const QString& text) { box->setText(text); });
        };
    }
    return {};
}

void bindI18nComponent(const std::string& name, QObject* component, I18nApplyProcedure apply)
{
    if (bindings().count(name) != 0) {
        return;
    }
    tagI18nComponentOption binding;
    binding.apply = apply ? std::move(apply) : chooseI18nProcedure(component);
    binding.component = component;
    bindings().emplace(name, std::move(binding));
}

void setI18nProperty(const std::string& name, const std::string& property, const std::string& id)
{
    const auto found = bindings().find(name);
    if (found != bindings().end()) {
        found->second.properties.insert_or_assign(property, id);
    }
}

void bindI18nRows(QObject* component, const std::vector<I18nRow>& rows)
{
    const std::string name = component->objectName().toStdString();
    bindI18nComponent(name, component);
    for (const I18nRow& row : rows) {
        setI18nProperty(name, row.property, row.id);
    }
}

void bindSharedI18nRows(QObject* component, const std::vector<I18nRow>& rows)
{
    bindI18nRows(component, rows);
    const std::string name = component->objectName().toStdString();
    if (findI18nBinding(name)->component != component) {
        followers().emplace_back(name, component);
    }
}

void bindI18nColumns(QTreeWidget* tree, int firstId)
{
    for (int column = 0; column < tree->columnCount(); ++column) {
        const std::string id = QString::asprintf("%05d", firstId + column).toStdString();
        auto* header = new I18nListColumn(tree, column);
        header->setObjectName(QString::fromStdString(id));
        bindI18nComponent(id, header);
        setI18nProperty(id, "Text", id);
    }
}

void applyI18nAll()
{
    for (const auto& [name, binding] : bindings()) {
        if (binding.apply && !binding.component.isNull()) {
            binding.apply(name, binding.component.data());
        }
    }
    for (const auto& [name, component] : followers()) {
        const I18nApplyProcedure apply = component.isNull() ? nullptr : chooseI18nProcedure(component);
        if (apply) {
            apply(name, component.data());
        }
    }
}

const char* getI18nText(const char* id)
{
    const char* text = nullptr;
    getI18nRes(languageCode().toUtf8().constData(), id, &text);
    return text;
}

QString i18nText(const char* id)
{
    return QString::fromUtf8(getI18nText(id));
}

int findI18nLanguage(const char* const* codes, int count)
{
    if (languageCode().isEmpty() || codes == nullptr) {
        return -1;
    }
    const QByteArray current = languageCode().toUtf8();
    for (int index = 0; index < count; ++index) {
        if (codes[index] != nullptr && current == codes[index]) {
            return index;
        }
    }
    return -1;
}

void forEachI18nRow(const std::string& name,
                    const std::function<void(const std::string& property, const char* text)>& visit)
{
    const tagI18nComponentOption* binding = findI18nBinding(name);
    if (binding == nullptr) {
        return;
    }
    for (const auto& [property, id] : binding->properties) {
        visit(property, getI18nText(id.c_str()));
    }
}

const std::map<std::string, tagI18nComponentOption>& i18nBindings()
{
    return bindings();
}

const tagI18nComponentOption* findI18nBinding(const std::string& name)
{
    const auto found = bindings().find(name);
    return found == bindings().end() ? nullptr : &found->second;
}

void clearI18nBindings()
{
    bindings().clear();
    followers().clear();
}
