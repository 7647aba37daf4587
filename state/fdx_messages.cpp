// The numbered messages and the yes/no question of FDX.

#include <string_view>

#include "state/fdx.h"
#include "state/job_str.h"

namespace {

struct NumberedMessage {
    int number;
    std::string_view text;
};

constexpr NumberedMessage kMessages[] = {
    {1, "Ошибка записи файла конфигуратора"},
    {2, "Ошибка инициализации приемника(нет памяти)"},
    {3, "Новые параметры вступят в силу после перезагрузки!"},
    {4, "Не заданы частоты (банк) для сканирования"},
    {5, "Нет памяти для сканирования банка частот"},
    {6, "Диапазона превышает максимум и будет усечен!"},
    {7, "Текст запрещено модифицировать"},
    {8, "Ошибка записи текста"},
    {9, "Этот элемент журнала не может быть включен в задание!"},
    {10, "Сканирование невозможно без приемника.Укажите тип!"},
    {11, "Не задано ни одной строки в задании"},
    {12, "Не задано ни одной частоты в банке для записи"},
    {13, "Диапазон с данными параметрами уже существует!"},
    {14, "Ошибка в работе программы!"},
    {15, "Группа с данными параметрами уже существует!"},
    {16, "Группа подразумевает 2 и более диапазонов!"},
    {17, "Нет информации для записи"},
    {18, "Банк частот с данными параметрами уже существует!"},
    {19, "Банк частот существует и обновлен!"},
    {20, "Задание с данными параметрами уже существует!"},
    {21, "Задание существует и обновлено!"},
    {22, "Нет информации для сохранения !"},
    {23, "Ошибка записи файла - списка!"},
    {24, "Ошибка записи фиксированных частот!"},
    {25, "Не заданы или конфликтны параметры фиксированных частот (начальная - конечная) !"},
    {26, "Не заданы режим или параметры сканирования!"},
    {27, "Нельзя выполнить задание из задания!"},
    {28, "Ошибка запуска внутреннего сканирования приемника"},
    {29, "Максимумы Шкалы не найдены"},
    {30, "Фиксированные частоты не найдены"},
    {31, "Для создания диапазона необходимо выделить участок частот"},
    {32, "Для создания фиксированных частот необходимо выделить участок частот"},
    {33, "Нет свободного диапазона для загрузки"},
    {34, "Для создания маркера необходимо установить частоту в заданном диапазоне"},
    {35, "Данный элемент удалить нельзя"},
    {36, "Элемент нельзя удалить, поскольку он используется в работе "},
    {38, "Операция завершена!"},
    {39, "Ошибка обращения к приемнику(выключен)"},
    {41, "Ошибка при регистрации сигнала (Sound Blaster)"},
    {42, "Нет информации для воспроизведения"},
    {43, "Фрагментов фонограммы не может быть больше 1000"},
    {44, "Мало дискового пространства < 2 Мб"},
    {45, "Нельзя сохранить фонограмму"},
    {46, "Ошибка в файле фонограммы"},
    {47, "Нельзя производить калибровку.Загружена панель анализа"},
    {48, "Нельзя производить анализ.Загружена панель калибровки"},
    {49, "Пределы диапазона недопустимы для данного приемника"},
    {50, "Частоты выходят за пределы для данного приемника"},
    {51, "Необходимо указать параметр и его значение"},
    {52, "Не хватает памяти для функции ПЕЧАТИ"},
    {53, "Не хватает памяти для работы.Ошибка №%u."},
    {54, "Фонограмма содержит единственный фрагмент."},
};

// Shown for every number the table lacks.
constexpr std::string_view kSystemError = "Ошибка в системе";
constexpr std::string_view kErrorCaption = "ВНИМАНИЕ !";
constexpr std::string_view kQuestionCaption = "ВНИМАНИЕ!";
// Appended to a question that a running job answered by itself.
constexpr std::string_view kJobAnsweredYes = "-ДА";
// The one message that carries a number: the start-up stage that failed.
constexpr std::string_view kStagePlaceholder = "%u";

std::string messageText(int number, uint32_t startStage) {
    for (const NumberedMessage& message : kMessages) {
        if (message.number != number) continue;
        std::string text(message.text);
        if (const auto at = text.find(kStagePlaceholder); at != std::string::npos)
            text.replace(at, kStagePlaceholder.size(), std::to_string(startStage));
        return text;
    }
    return std::string(kSystemError);
}

}  // namespace

std::string FDX::MessageText(int number) const {
    return messageText(number, StartStage);
}

void FDX::ShowError(int number) {
    ShowErrorText(messageText(number, StartStage));
}

void FDX::ShowErrorText(std::string text) {
    // A job must never stop for a box nobody is there to close; its line carries the failure.
    if (JobRunning) {
        if (JobLine != nullptr) {
            JobLine->Message = std::move(text);
            JobLine->ReturnCode = 1;
        }
        return;
    }
    if (MessageBox)
        MessageBox(*this,
                   {std::move(text), std::string(kErrorCaption), MessageIcon::Stop, false, true});
}

void FDX::AlertOperator(int number) {
    if (MessageBox)
        MessageBox(*this, {messageText(number, StartStage), std::string(kErrorCaption),
                           MessageIcon::Stop, false, true});
}

void FDX::NoticeError(int number) {
    NoticeErrorText(messageText(number, StartStage));
}

void FDX::NoticeErrorText(std::string text) {
    if (MessageBox)
        MessageBox(*this,
                   {std::move(text), std::string(kErrorCaption), MessageIcon::Stop, false, false});
}

void FDX::Advise(std::string text) {
    if (JobRunning) {
        if (JobLine != nullptr) JobLine->Message = std::move(text);
        return;
    }
    if (MessageBox)
        MessageBox(*this, {std::move(text), std::string(kErrorCaption), MessageIcon::Exclamation,
                           false, false});
}

bool FDX::Confirm(const std::string& text) {
    if (JobRunning) {
        if (JobLine != nullptr) {
            JobLine->Message = text + std::string(kJobAnsweredYes);
            JobLine->ReturnCode = 0;
        }
        return true;
    }
    if (!MessageBox) return false;
    return MessageBox(*this,
                      {text, std::string(kQuestionCaption), MessageIcon::Exclamation, true, true});
}
