Канал	FIELD000
Модуляция	FIELD001
Владелец	FIELD003
