#include "app/panel_catalog.h"

#include <span>

#include "receivers/panel_registry.h"

namespace {

// Panel codes of job lines.
constexpr uint32_t kReceiverPanelCode = 0;
constexpr uint32_t kJournalPanelCode = 9;
constexpr uint32_t kMainPanelCode = 10;

using job_catalog::F;
using job_catalog::R;
using job_catalog::S;
using job_catalog::T;
using job_catalog::V;
using CatalogObject = job_catalog::Object;

// A heading under "Панель" with the objects of its panel; the heading itself is the main
// window's object that selects the panel's tab page.
struct PanelHeading {
    uint32_t panel;
    const char* name;
    std::span<const CatalogObject> objects;
};

// The texts are the program's own, spellings and trailing blanks included: job files name the
// objects by them.
// clang-format off
constexpr CatalogObject kMainObjects[] = {
    {11, "Поле Частота-выбор", V | F | R},
    {12, "Поле Шаг-выбор", V | S | R},
    {27, "Поле СИСТЕМНОЕ ВРЕМЯ", T | R},
    {13, "Кнопка ЗАГРУЗИТЬ"},
    {14, "Кнопка СОХРАНИТЬ"},
    {28, "Кнопка ПЕЧАТЬ"},
    {29, "Кнопка +частота"},
    {30, "Кнопка -частота"},
    {31, "Кнопка детального исследования"},
    {15, "Кнопка УДАЛИТЬ из Журнала"},
    {16, "Кнопка УДАЛИТЬ из Раздела"},
    {17, "Кнопка ПУСК"},
    {25, "Кнопка СТОП"},
    {18, "Кнопка ПАУЗА"},
    {26, "Кнопка РЕЖИМ"},
    {19, "Кнопка NFM-модуляция"},
    {20, "Кнопка WFM-модуляция"},
    {21, "Кнопка AM-модуляция"},
    {22, "Кнопка LSB-модуляция"},
    {23, "Кнопка USB-модуляция"},
    {24, "Кнопка CW-модуляция"},
    {40, "Кнопка RTTY-модуляция"},
};

constexpr CatalogObject kBankObjects[] = {
    {11, "Кнопка Внести"},
    {13, "Кнопка Размножить"},
    {12, "Кнопка Исключить"},
    {16, "Кнопка Перенумеровать"},
    {14, "Поле Шаг размножения", S | R},
    {15, "Поле Счетчик размножения", R, 5},
    {17, "Позиция в банке частот", R},
    {18, "Сортировка по колонке", R, 1},
};

constexpr CatalogObject kRangeObjects[] = {
    {11, "Поле Шаг-выбор", V | S | R},
    {12, "Поле Нач_Частота-выбор", V | F | R},
    {13, "Поле Кон_Частота-выбор", V | F | R},
    {14, "Кнопка Очистить"},
    {15, "Кнопка  1 Диапазон"},
    {16, "Кнопка  2 Диапазон"},
    {17, "Кнопка  3 Диапазон"},
    {18, "Кнопка  4 Диапазон"},
    {19, "Кнопка  5 Диапазон"},
    {20, "Кнопка  6 Диапазон"},
    {21, "Кнопка  7 Диапазон"},
    {22, "Кнопка  8 Диапазон"},
    {23, "Кнопка  9 Диапазон"},
    {24, "Кнопка 10 Диапазон"},
    {25, "Кнопка 11 Диапазон"},
    {26, "Кнопка 12 Диапазон"},
    {27, "Кнопка Фон-текущие измерения"},
    {28, "Кнопка Фон-минимальные измерения"},
    {29, "Кнопка Фон-средние измерения"},
    {30, "Кнопка Фон-максимальные измерения"},
    {31, "Кнопка Фон-обработанные измерения"},
    {32, "Кнопка Фон-эталонные измерения"},
    {33, "Кнопка Цвет-текущие измерения"},
    {34, "Кнопка Цвет-минимальные измерения"},
    {35, "Кнопка Цвет-средние измерения"},
    {36, "Кнопка Цвет-максимальные измерения"},
    {37, "Кнопка Цвет-обработанные измерения"},
    {38, "Кнопка Цвет-эталонные измерения"},
    {39, "Найти максимум слева по шкале цвета"},
    {40, "Найти маркер слева"},
    {41, "Найти максимум справа по шкале цвета"},
    {42, "Найти маркер справа"},
    {43, "Отметить Маркером Частоту"},
    {44, "Аппроксимировать"},
};

constexpr CatalogObject kTextObjects[] = {
    {11, "Поле Информации", T | R},
    {12, "Кнопка Запись"},
};

constexpr CatalogObject kSignalObjects[] = {
    {17, "Установить полное воспроизведение", R, 1},
    {11, "Кнопка Воспроизведения"},
    {12, "Кнопка Стоп"},
    {13, "Кнопка Запись"},
    {14, "Скорость записи 8Кб в сек"},
    {15, "Скорость записи 11Кб в сек"},
    {16, "Скорость записи 22Кб в сек"},
    {18, "Номер фрагмента в фонограмме", R},
};

constexpr PanelHeading kWindowHeadings[] = {
    {1, "Панель БАНК", kBankObjects},
    {2, "Панель ДИАПАЗОНЫ", kRangeObjects},
    {3, "Панель ГРУППА", {}},
    {4, "Панель ЗАДАНИЕ", {}},
    {5, "Панель ТЕКСТ", kTextObjects},
    {6, "Панель СИГНАЛ", kSignalObjects},
    {7, "Панель ПАРАМЕТРЫ", {}},
};

// clang-format on

JobDcl entryOf(uint32_t panel, const CatalogObject& object) {
    JobDcl dcl;
    dcl.Name = object.name;
    dcl.Panel = panel;
    dcl.Object = object.object;
    dcl.Value = object.value;
    dcl.TakesValue = (object.flags & V) != 0;
    dcl.REQ = (object.flags & R) != 0;
    dcl.STEP = (object.flags & S) != 0;
    dcl.FREQ = (object.flags & F) != 0;
    dcl.STRING = (object.flags & T) != 0;
    return dcl;
}

JobDcl presetOf(uint32_t panel, uint32_t object, const job_catalog::Preset& preset) {
    JobDcl dcl;
    dcl.Name = preset.name;
    dcl.Panel = panel;
    dcl.Object = object;
    dcl.Value = preset.value;
    dcl.TakesValue = 1;
    dcl.Preset = 1;
    dcl.REQ = 1;
    return dcl;
}

void appendObjects(std::vector<CatalogListEntry>& list, int32_t parent, uint32_t panel,
                   std::span<const CatalogObject> objects) {
    for (const CatalogObject& object : objects) {
        if (object.name == nullptr) continue;  // served, not listed
        const int32_t owner = int32_t(list.size());
        list.push_back({entryOf(panel, object), parent});
        for (const job_catalog::Preset& preset : object.presets)
            list.push_back({presetOf(panel, object.object, preset), owner});
    }
}

void appendHeading(std::vector<CatalogListEntry>& list, uint32_t panel, const char* name,
                   std::span<const CatalogObject> objects) {
    const int32_t heading = int32_t(list.size());
    list.push_back({entryOf(kMainPanelCode, CatalogObject{panel, name}), -1});
    appendObjects(list, heading, panel, objects);
}

}  // namespace

std::vector<CatalogListEntry> PanelCatalog(int32_t receiverType) {
    std::vector<CatalogListEntry> list;
    appendObjects(list, -1, kMainPanelCode, kMainObjects);
    // The receiver panel's heading selects tab page 0.
    if (const job_catalog::Heading* receiver = panel_registry::Traits(receiverType).jobs)
        appendHeading(list, kReceiverPanelCode, receiver->name, receiver->objects);
    for (const PanelHeading& window : kWindowHeadings)
        appendHeading(list, window.panel, window.name, window.objects);
    return list;
}

std::optional<JobDcl> FindCatalogEntry(int32_t receiverType, uint32_t panel, uint32_t object) {
    for (CatalogListEntry& entry : PanelCatalog(receiverType))
        if (!entry.dcl.Preset && entry.dcl.Panel == panel && entry.dcl.Object == object)
            return std::move(entry.dcl);
    return std::nullopt;
}

JobDcl ChosenCatalogEntry(const JobDcl& entry, const JobDcl* parent) {
    if (!entry.TakesValue || !entry.Preset || parent == nullptr) return entry;
    JobDcl chosen = *parent;
    chosen.Value = entry.Value;
    return chosen;
}

JobStr CatalogLine(const JobDcl& entry, bool cond) {
    JobStr line;
    line.DCL = entry.Name;
    line.TAB = entry.Panel;
    line.OBJ = entry.Object;
    line.VAL = entry.Value;
    line.REQ = entry.REQ;
    line.STEP = entry.STEP;
    line.FREQ = entry.FREQ;
    if (entry.Panel == kJournalPanelCode) {
        line.STRING = 1;
        line.STR = entry.Name;
    }
    line.COND = cond ? 1 : 0;
    return line;
}
