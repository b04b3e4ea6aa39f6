<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ConsoleAdditions</name>
    <message>
        <location filename="../src/console/additions.cpp" line="97"/>
        <source>Следить за трансивером</source>
        <translation>Follow the transceiver</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="98"/>
        <source>Адрес rigctld (узел или узел:порт, порт по умолчанию 4532):</source>
        <translation>rigctld address (host or host:port, port 4532 unless given):</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="103"/>
        <source>Адрес «%1» не похож на узел или узел:порт.</source>
        <translation>"%1" does not look like a host or host:port.</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="117"/>
        <source>rigctld: %1</source>
        <translation>rigctld: %1</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="120"/>
        <source>Трансивер: подключение…</source>
        <translation>Transceiver: connecting…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="122"/>
        <source>Трансивер: нет связи, повтор…</source>
        <translation>Transceiver: lost, retrying…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="125"/>
        <source>Трансивер: %1 МГц</source>
        <translation>Transceiver: %1 MHz</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="126"/>
        <source>Трансивер: на связи</source>
        <translation>Transceiver: connected</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="128"/>
        <source>, передача</source>
        <translation>, transmitting</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="136"/>
        <source>Следить за трансивером…</source>
        <translation>Follow the transceiver…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="143"/>
        <source>Подобрать согласование…</source>
        <translation>Find the match…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="144"/>
        <source>Подобрать согласование… — %1</source>
        <translation>Find the match… — %1</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="148"/>
        <source>Порты…</source>
        <translation>Ports…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="152"/>
        <source>Экспорт памяти…</source>
        <translation>Export memories…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="155"/>
        <source>Импорт памяти…</source>
        <translation>Import memories…</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="165"/>
        <source>сначала включите слежение за трансивером</source>
        <translation>follow the transceiver first</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="168"/>
        <source>нет связи с трансивером</source>
        <translation>no connection to the transceiver</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="173"/>
        <source>трансивер не сообщает КСВ</source>
        <translation>the transceiver does not report SWR</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="175"/>
        <source>трансивер не сообщает, передаёт ли он</source>
        <translation>the transceiver does not say whether it transmits</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="225"/>
        <source>Экспорт памяти</source>
        <translation>Export memories</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="226"/>
        <source>Таблицы CSV (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="230"/>
        <source>Экспорт не удался:
%1</source>
        <translation>The export failed:
%1</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="235"/>
        <source>Импорт памяти</source>
        <translation>Import memories</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="236"/>
        <source>Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation>CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="243"/>
        <source>Импорт не выполнен, файл настроек не изменён:
%1</source>
        <translation>Nothing was imported; the settings file is unchanged:
%1</translation>
    </message>
    <message>
        <location filename="../src/console/additions.cpp" line="249"/>
        <source>Не удалось открыть файл настроек:
%1</source>
        <translation>Cannot open the settings file:
%1</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <location filename="../src/console/form1.ui" line="14"/>
        <source>Управление блоком реле антенного тюнера</source>
        <translation>Antenna tuner relay block control</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="26"/>
        <source>Значение C</source>
        <translation>C value</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="39"/>
        <source>C =</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="42"/>
        <source>Ввести значение C</source>
        <translation>Enter the C value</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="55"/>
        <source>Значение L</source>
        <translation>L value</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="68"/>
        <source>L =</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="71"/>
        <source>Ввести значение L</source>
        <translation>Enter the L value</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="84"/>
        <location filename="../src/console/form1.ui" line="100"/>
        <location filename="../src/console/form1.ui" line="116"/>
        <location filename="../src/console/form1.ui" line="132"/>
        <location filename="../src/console/form1.ui" line="148"/>
        <location filename="../src/console/form1.ui" line="164"/>
        <location filename="../src/console/form1.ui" line="180"/>
        <location filename="../src/console/form1.ui" line="196"/>
        <location filename="../src/console/form1.ui" line="212"/>
        <location filename="../src/console/form1.ui" line="228"/>
        <location filename="../src/console/form1.ui" line="244"/>
        <location filename="../src/console/form1.ui" line="260"/>
        <location filename="../src/console/form1.ui" line="276"/>
        <location filename="../src/console/form1.ui" line="292"/>
        <location filename="../src/console/form1.ui" line="308"/>
        <location filename="../src/console/form1.ui" line="324"/>
        <source>0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="343"/>
        <location filename="../src/console/form1.ui" line="362"/>
        <source>background-color: rgb(192, 192, 192);</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="378"/>
        <location filename="../src/console/form1.ui" line="404"/>
        <source>&lt;&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="391"/>
        <location filename="../src/console/form1.ui" line="417"/>
        <source>&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="503"/>
        <source>Tx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="516"/>
        <source>Ant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="530"/>
        <source>Антенна</source>
        <translation>Antenna</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="542"/>
        <location filename="../src/console/form1.ui" line="772"/>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="555"/>
        <location filename="../src/console/form1.ui" line="785"/>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="568"/>
        <location filename="../src/console/form1.ui" line="798"/>
        <source>3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="582"/>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="585"/>
        <source>Принудительная отправка в com-порт настроек выбранного диапазона.</source>
        <translation>Send the selected band's settings to the COM port again.</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="598"/>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="601"/>
        <source>Записать текущие настройки в контроллер.</source>
        <translation>Write the current settings to the controller.</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="614"/>
        <source>Диапазон</source>
        <translation>Band</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="626"/>
        <source>160 м</source>
        <translation>160 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="639"/>
        <source>80 м</source>
        <translation>80 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="652"/>
        <source>40 м</source>
        <translation>40 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="665"/>
        <source>30 м</source>
        <translation>30 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="678"/>
        <source>20 м</source>
        <translation>20 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="691"/>
        <source>17 м</source>
        <translation>17 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="704"/>
        <source>15 м</source>
        <translation>15 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="717"/>
        <source>12 м</source>
        <translation>12 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="730"/>
        <source>10 м</source>
        <translation>10 m</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="743"/>
        <source>Д</source>
        <translation>Ext</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="746"/>
        <source>Дополнительный диапазон.</source>
        <translation>Additional band.</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="760"/>
        <source>Поддиапазон</source>
        <translation>Sub-band</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="811"/>
        <source>4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="824"/>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="838"/>
        <source>Comport</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="861"/>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="864"/>
        <location filename="../src/console/form1.ui" line="880"/>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location filename="../src/console/form1.ui" line="877"/>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="34"/>
        <source>Ошибка открытия Com-порта</source>
        <translation>Error opening the COM port</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="220"/>
        <source>Com-порт %1 не доступен</source>
        <translation>COM port %1 is not available</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="231"/>
        <source>Не удалось открыть файл настроек:
%1</source>
        <translation>Cannot open the settings file:
%1</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="691"/>
        <source>Последовательные порты принадлежат группе dialout. Добавьте себя в неё:
sudo adduser $USER dialout
и войдите в систему заново.</source>
        <translation>Serial ports belong to the dialout group. Add yourself to it:
sudo adduser $USER dialout
then log out and in again.</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="719"/>
        <source>Не удалось записать файл настроек %1:
%2</source>
        <translation>Cannot write the settings file %1:
%2</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="756"/>
        <source>Дискретность ёмкости</source>
        <translation>Capacitance step</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="757"/>
        <source>Введите значение младшего<byte value="xd"/>
разряда ёмкости в пФ.<byte value="xd"/>
Максимальное значение - 128</source>
        <translation>Enter the value of the least<byte value="xd"/>
significant capacitance relay in pF.<byte value="xd"/>
Maximum value - 128</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="764"/>
        <source>Дискретность индуктивности</source>
        <translation>Inductance step</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="765"/>
        <source>Введите значение младшего<byte value="xd"/>
разряда индуктивности в нГн.<byte value="xd"/>
Максимальное значение - 999</source>
        <translation>Enter the value of the least<byte value="xd"/>
significant inductance relay in nH.<byte value="xd"/>
Maximum value - 999</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="786"/>
        <source>Настройки хранятся в %1</source>
        <translation>The settings are kept in %1</translation>
    </message>
</context>
<context>
    <name>LineProblem</name>
    <message>
        <location filename="../src/link/linedevice.cpp" line="31"/>
        <source>нет такого устройства</source>
        <translation>no such device</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="33"/>
        <source>нет прав на чтение и запись</source>
        <translation>no permission to read and write it</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="35"/>
        <source>занят процессом %1</source>
        <translation>busy, held by process %1</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="36"/>
        <source>занят другой программой</source>
        <translation>busy, held by another program</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="38"/>
        <source>остался файл блокировки %1 от завершённого процесса %2</source>
        <translation>a stale lock file %1 was left by process %2, which has ended</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="42"/>
        <source>не последовательный порт</source>
        <translation>not a serial port</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="44"/>
        <source>нет соединения: %1</source>
        <translation>no connection: %1</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="46"/>
        <source>линия не принимает данные</source>
        <translation>the line takes no data</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="48"/>
        <source>связь потеряна</source>
        <translation>connection lost</translation>
    </message>
    <message>
        <location filename="../src/link/linedevice.cpp" line="49"/>
        <source>связь потеряна: %1</source>
        <translation>connection lost: %1</translation>
    </message>
</context>
<context>
    <name>MemoryTable</name>
    <message>
        <location filename="../src/backup/memorycommands.cpp" line="31"/>
        <source>файла настроек %1 ещё нет</source>
        <translation>there is no settings file %1 yet</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="115"/>
        <source>строка %1: кавычка не закрыта</source>
        <translation>line %1: a quote is not closed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="179"/>
        <source>это не текст в UTF-8</source>
        <translation>this is not UTF-8 text</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="189"/>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="201"/>
        <source>поле «%1»: нужно целое от 0 до 128</source>
        <translation>field "%1": a whole number from 0 to 128 is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="206"/>
        <source>поле «%1»: нужно целое от 1 до 999</source>
        <translation>field "%1": a whole number from 1 to 999 is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="209"/>
        <source>ожидались шаги или заголовок таблицы «%1»</source>
        <translation>the steps or the table header "%1" were expected</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="215"/>
        <source>нет заголовка таблицы «%1»</source>
        <translation>no table header "%1"</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="228"/>
        <source>в заголовке нет столбца «%1»</source>
        <translation>the header has no column "%1"</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="240"/>
        <source>нет поля «%1»</source>
        <translation>no field "%1"</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="244"/>
        <source>поле «%1» = «%2»: %3</source>
        <translation>field "%1" = "%2": %3</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="253"/>
        <source>нужно 1, 2 или 3</source>
        <translation>1, 2 or 3 is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="261"/>
        <source>нужно одно из «160 м» … «10 м», «Д»</source>
        <translation>one of "160 м" … "10 м", "Д" is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="264"/>
        <source>нужно целое от 1 до 5</source>
        <translation>a whole number from 1 to 5 is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="268"/>
        <location filename="../src/backup/memorytable.cpp" line="271"/>
        <source>нужно целое от 0 до 255</source>
        <translation>a whole number from 0 to 255 is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="282"/>
        <source>нужно Tx, Ant или целое от 0 до 255</source>
        <translation>Tx, Ant or a whole number from 0 to 255 is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="285"/>
        <source>ячейка %1, %2, %3 уже была выше</source>
        <translation>slot %1, %2, %3 came already further up</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="349"/>
        <source>не удалось вывести таблицу</source>
        <translation>cannot write the table</translation>
    </message>
</context>
<context>
    <name>Packet</name>
    <message>
        <location filename="../src/link/packet.cpp" line="34"/>
        <source>неизвестная команда %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <location filename="../src/link/packet.cpp" line="37"/>
        <source>неверное окончание пакета</source>
        <translation>bad packet trailer</translation>
    </message>
    <message>
        <location filename="../src/link/packet.cpp" line="94"/>
        <source>нет заголовка AA 55 01</source>
        <translation>no AA 55 01 header</translation>
    </message>
    <message>
        <location filename="../src/link/packet.cpp" line="118"/>
        <source>пакет оборван</source>
        <translation>packet cut short</translation>
    </message>
</context>
<context>
    <name>PortsDialog</name>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="21"/>
        <source>Порты</source>
        <translation>Ports</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="23"/>
        <source>Устройство</source>
        <translation>Device</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="23"/>
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="23"/>
        <source>Изготовитель</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="24"/>
        <source>Серийный номер</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="24"/>
        <source>Постоянное имя</source>
        <translation>Lasting name</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="39"/>
        <source>Устройство, путь или узел:порт; пусто — %1</source>
        <translation>Device, path or host:port; empty means %1</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="42"/>
        <source>Порт %1</source>
        <translation>Port %1</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="46"/>
        <source>Обновить список</source>
        <translation>Refresh the list</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="61"/>
        <source>Найденные последовательные порты:</source>
        <translation>Serial ports found:</translation>
    </message>
    <message>
        <location filename="../src/ports/portsdialog.cpp" line="63"/>
        <source>Что стоит за каждым номером в списке Comport:</source>
        <translation>What stands behind each number of the Comport list:</translation>
    </message>
</context>
<context>
    <name>PtyEndpoint</name>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="46"/>
        <source>не удалось создать псевдотерминал: %1</source>
        <translation>cannot create a pseudo-terminal: %1</translation>
    </message>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="57"/>
        <source>не удалось открыть %1</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="73"/>
        <source>не удалось создать ссылку %1</source>
        <translation>cannot create the link %1</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="67"/>
        <location filename="../src/settings/settingslocation.cpp" line="41"/>
        <source>%1: ссылка ведёт на несуществующий файл</source>
        <translation>%1: the link leads to a file that does not exist</translation>
    </message>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="69"/>
        <location filename="../src/settings/settingsfile.cpp" line="80"/>
        <source>%1: это не файл настроек</source>
        <translation>%1: this is not a settings file</translation>
    </message>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="138"/>
        <location filename="../src/settings/settingsfile.cpp" line="145"/>
        <source>%1 удалён, и создать его заново не удалось: %2</source>
        <translation>%1 was deleted and cannot be created again: %2</translation>
    </message>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="186"/>
        <location filename="../src/settings/settingsfile.cpp" line="207"/>
        <source>файл настроек не открыт</source>
        <translation>the settings file is not open</translation>
    </message>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="188"/>
        <source>неверная позиция %1</source>
        <translation>bad position %1</translation>
    </message>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="215"/>
        <source>не удалось сбросить на диск</source>
        <translation>cannot flush to disk</translation>
    </message>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="225"/>
        <source>неизвестная ошибка</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslock.cpp" line="30"/>
        <source>%1 уже открыт другой консолью (процесс %2)</source>
        <translation>%1 is already open in another console (process %2)</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslock.cpp" line="34"/>
        <source>%1: не удалось создать файл блокировки %2</source>
        <translation>%1: cannot create the lock file %2</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslocation.cpp" line="48"/>
        <source>%1: это не файл настроек, а %2</source>
        <translation>%1: this is not a settings file but %2</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslocation.cpp" line="49"/>
        <source>папка</source>
        <translation>a folder</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslocation.cpp" line="50"/>
        <source>файл устройства или канал</source>
        <translation>a device or a pipe</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslocation.cpp" line="59"/>
        <source>%1: файл есть, но прочитать его нельзя</source>
        <translation>%1: the file exists but cannot be read</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslocation.cpp" line="114"/>
        <source>%1: папка недоступна для записи</source>
        <translation>%1: the folder cannot be written</translation>
    </message>
</context>
<context>
    <name>Sim</name>
    <message>
        <location filename="../src/sim/relaystate.cpp" line="78"/>
        <source>, антенна 3</source>
        <translation>, antenna 3</translation>
    </message>
    <message>
        <location filename="../src/sim/relaystate.cpp" line="83"/>
        <source>сторона = %1</source>
        <translation>side = %1</translation>
    </message>
    <message>
        <location filename="../src/sim/virtualcontroller.cpp" line="27"/>
        <source>не удалось прочитать %1</source>
        <translation>cannot read %1</translation>
    </message>
</context>
<context>
    <name>SimEndpoint</name>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="108"/>
        <source>отключено: %1</source>
        <translation>unplugged: %1</translation>
    </message>
</context>
<context>
    <name>SimWindow</name>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="117"/>
        <source>Orvane — виртуальный контроллер</source>
        <translation>Orvane — virtual controller</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="137"/>
        <source>Копировать журнал</source>
        <translation>Copy log</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="138"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="139"/>
        <source>Отключить</source>
        <translation>Unplug</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="140"/>
        <source>Закрыть линию, как если бы адаптер выдернули</source>
        <translation>Close the line as if the adapter were pulled out</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="186"/>
        <source>Линия: %1</source>
        <translation>Line: %1</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="197"/>
        <source>Конденсаторы: %1
Флаг антенны 3: %2</source>
        <translation>Capacitors: %1
Antenna 3 flag: %2</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="198"/>
        <source>Пакетов: %1   Ошибок: %2</source>
        <translation>Packets: %1   Errors: %2</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="200"/>
        <source>Радио %1: %2 МГц, %3, КСВ %4</source>
        <translation>Radio %1: %2 MHz, %3, SWR %4</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="203"/>
        <source>передача</source>
        <translation>transmitting</translation>
    </message>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="203"/>
        <source>приём</source>
        <translation>receiving</translation>
    </message>
</context>
<context>
    <name>TcpEndpoint</name>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="191"/>
        <source>прежнее соединение закрыто: %1</source>
        <translation>the previous connection was closed: %1</translation>
    </message>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="196"/>
        <source>подключено: %1</source>
        <translation>connected: %1</translation>
    </message>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="202"/>
        <source>соединение закрыто</source>
        <translation>connection closed</translation>
    </message>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="217"/>
        <source>отключено: %1</source>
        <translation>unplugged: %1</translation>
    </message>
</context>
<context>
    <name>TuneDialog</name>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="17"/>
        <source>Сохранить в ячейку</source>
        <translation>Store in the slot</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="19"/>
        <source>Подбор согласования</source>
        <translation>Finding the match</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="21"/>
        <source>&lt;b&gt;Реле будут переключаться под током высокой частоты.&lt;/b&gt;&lt;br&gt;Установите малую мощность (не больше 10 Вт) и дайте несущую (CW или TUNE). Поиск начнётся, когда трансивер перейдёт на передачу, и остановится, как только передача кончится, по кнопке «Отмена», клавише Esc или через %1 с.</source>
        <translation>&lt;b&gt;The relays will switch under RF.&lt;/b&gt;&lt;br&gt;Set low power (10 W at most) and key a carrier (CW or TUNE). The search starts when the transceiver transmits and stops as soon as it stops, on Cancel, on Esc, or after %1 s.</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="29"/>
        <source>проб: %v</source>
        <translation>probes: %v</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="30"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="60"/>
        <source>КСВ %1 при C %2, L %3, %4</source>
        <translation>SWR %1 at C %2, L %3, %4</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="74"/>
        <source>Лучшее: %1</source>
        <translation>Best: %1</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="78"/>
        <source>Ждём передачи…</source>
        <translation>Waiting for the carrier…</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="82"/>
        <source>Поиск: C %1, L %2, %3</source>
        <translation>Searching: C %1, L %2, %3</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="87"/>
        <source>Поиск…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="90"/>
        <source>Готово. Снимите несущую. Найдено: %1</source>
        <translation>Done. Drop the carrier. Found: %1</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="94"/>
        <source>Не сохранять</source>
        <translation>Do not store</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="99"/>
        <source>передача кончилась</source>
        <translation>the transmission ended</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="100"/>
        <source>время вышло</source>
        <translation>time is up</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="101"/>
        <source>связь с трансивером потеряна</source>
        <translation>the connection to the transceiver was lost</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="102"/>
        <source>трансивер не сообщает КСВ</source>
        <translation>the transceiver does not report SWR</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="103"/>
        <source>отменено</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="104"/>
        <source>Остановлено: %1. Реле вернулись как были.</source>
        <translation>Stopped: %1. The relays are back as they were.</translation>
    </message>
    <message>
        <location filename="../src/tune/tunedialog.cpp" line="105"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <location filename="../src/about/frmabout.ui" line="14"/>
        <source>About Orvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.ui" line="42"/>
        <source>Orvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.ui" line="55"/>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.ui" line="77"/>
        <source>color: black;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.ui" line="106"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.ui" line="122"/>
        <source>&amp;System Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.cpp" line="57"/>
        <source>About %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.cpp" line="58"/>
        <source>Version %1.%2.%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.cpp" line="63"/>
        <source>Управление блоком реле антенного тюнера
Разработчики Orvane
г. Энск, orvane@example.invalid</source>
        <translation>Antenna tuner relay block control
The Orvane developers
Ensk, orvane@example.invalid</translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.cpp" line="90"/>
        <source>System Information Is Unavailable At This Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
