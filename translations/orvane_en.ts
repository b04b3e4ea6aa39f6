<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>AntennaCommands</name>
    <message>
        <location filename="../src/tunes/antennacommands.cpp" line="+49"/>
        <source>Антенна %1: точек %2 из %3</source>
        <translation>Antenna %1: %2 points from %3</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>шаги реле в conf.cfg не заданы: измерение сохранено; импортируйте его снова, когда они будут заданы, и настройки будут рассчитаны</source>
        <translation>the relay steps are not set in conf.cfg: the measurement is kept; import it again once they are, and the tunes are computed</translation>
    </message>
</context>
<context>
    <name>AntennaMeasurement</name>
    <message>
        <location filename="../src/tunes/measurement.cpp" line="+19"/>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>значение, которое не число</source>
        <translation>a value that is not a number</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 Гц вне 100 кГц–3 ГГц</source>
        <translation>%1 Hz is outside 100 kHz–3 GHz</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>частоты не возрастают</source>
        <translation>the frequencies are not ascending</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+147"/>
        <source>активная нагрузка (|Γ| &gt; 1)</source>
        <translation>an active load (|Γ| &gt; 1)</translation>
    </message>
    <message>
        <location line="-142"/>
        <source>больше %1 точек</source>
        <translation>more than %1 points</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>файл больше 16 МиБ</source>
        <translation>the file is larger than 16 MiB</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>файл %1-портовый: антенну описывает только однопортовое измерение (.s1p)</source>
        <translation>a %1-port file: only a one-port measurement (.s1p) describes an antenna</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>параметры %1 описывают четырёхполюсник, а не антенну</source>
        <translation>%1 parameters describe two ports, not an antenna</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>нет опорного сопротивления</source>
        <translation>no reference resistance</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&quot;%1&quot; в строке параметров</source>
        <translation>&quot;%1&quot; in the option line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ключевое слово Touchstone 2: читается только версия 1</source>
        <translation>a Touchstone 2 keyword: only version 1 is read</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>данные двух портов: антенну описывает только однопортовое измерение</source>
        <translation>two ports&apos; data: only a one-port measurement describes an antenna</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 столбцов, а в строке однопортового файла их 3 (частота и пара значений)</source>
        <translation>%1 columns where a one-port line has 3 (frequency and a pair)</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+72"/>
        <source>&quot;%1&quot; — не число</source>
        <translation>&quot;%1&quot; is not a number</translation>
    </message>
    <message>
        <location line="-43"/>
        <location line="+53"/>
        <source>нет точек</source>
        <translation>no points</translation>
    </message>
    <message>
        <location line="-27"/>
        <source>не хватает столбца: нужны частота в Гц, R и X</source>
        <translation>a missing column: expected frequency Hz, R and X</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>нет такого файла</source>
        <translation>no such file</translation>
    </message>
</context>
<context>
    <name>BandNames</name>
    <message>
        <location filename="../src/model/bandnames.cpp" line="+34"/>
        <source>Д</source>
        <translation>Ext</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 м</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>антенна %1, %2, %3</source>
        <translation>antenna %1, %2, %3</translation>
    </message>
</context>
<context>
    <name>BandPlan</name>
    <message>
        <location filename="../src/rig/bandplan.cpp" line="+144"/>
        <source>%1: края вне 1–60 МГц</source>
        <translation>%1: the edges lie outside 1–60 MHz</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+5"/>
        <source>%1: края должны возрастать</source>
        <translation>%1: each edge must be above the one before</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 и %2 перекрываются</source>
        <translation>%1 and %2 overlap</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>нет такого диапазона</source>
        <translation>no such band</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>участок вне диапазона</source>
        <translation>the stretch is outside the band</translation>
    </message>
</context>
<context>
    <name>BandsDialog</name>
    <message>
        <location filename="../src/dialogs/bandsdialog.cpp" line="+23"/>
        <source>Диапазоны</source>
        <translation>Bands</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Начало, МГц</source>
        <translation>Start, MHz</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Поддиапазон %1</source>
        <translation>Sub-band %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Конец, МГц</source>
        <translation>End, MHz</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ячейка памяти частот, кГц</source>
        <translation>Frequency memory bin, kHz</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Края диапазонов и поддиапазонов, МГц</source>
        <translation>Band and sub-band edges, MHz</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Ошибка в таблице</source>
        <translation>Problem in the table</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Восстановить стандартные</source>
        <translation>Restore defaults</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Слежение за трансивером выбирает диапазон и поддиапазон по этой таблице. Поддиапазон 2 начинается там, где кончается 1, и так далее. Память частот хранит одну настройку на ячейку; сохранённые настройки остаются на своих частотах.</source>
        <translation>Radio following picks the band and sub-band from this table. Sub-band 2 starts where 1 ends, and so on. The frequency memory keeps one tune per bin; stored tunes stay on their frequencies.</translation>
    </message>
    <message>
        <location line="+74"/>
        <source>в таблице не число</source>
        <translation>a cell of the table is not a number</translation>
    </message>
</context>
<context>
    <name>CarrierJob</name>
    <message>
        <location filename="../src/tunes/carrierjob.cpp" line="+71"/>
        <source>идёт %1</source>
        <translation>%1 under way</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>трансивер, оставленный передающим прошлым запуском, ещё возвращается</source>
        <translation>the radio the last run left transmitting is still being put back</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>передачу ведёт трансивер через rigctld: включите слежение за ним</source>
        <translation>the carrier needs the radio through rigctld: follow it first</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>трансивер не сообщает, передаёт ли он</source>
        <translation>the radio does not say whether it transmits</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>трансивер передаёт: задание начнётся, когда передача кончится</source>
        <translation>the radio transmits: the job starts once it stops</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>нет стража передачи (orvane-guard)</source>
        <translation>the carrier&apos;s guard (orvane-guard) is missing</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>трансивер не ответил за %1 с на «%2»</source>
        <translation>the radio did not answer “%2” within %1 s</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>трансивер отказал в «%1» (RPRT %2)</source>
        <translation>the radio refused “%1” (RPRT %2)</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>трансивер передаёт: задание не включает передачу поверх оператора</source>
        <translation>the radio transmits: a job never keys over the operator</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>журнал передачи не записан: %1</source>
        <translation>the carrier&apos;s journal could not be written: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>страж передачи пропал</source>
        <translation>the carrier&apos;s guard is gone</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>страж передачи не запустился: %1</source>
        <translation>the carrier&apos;s guard did not start: %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>трансивер не сообщил %1: %2</source>
        <translation>the radio did not report its %1: %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+40"/>
        <source>частоту</source>
        <translation>frequency</translation>
    </message>
    <message>
        <location line="-27"/>
        <location line="+23"/>
        <source>мощность</source>
        <translation>power</translation>
    </message>
    <message>
        <location line="-20"/>
        <source>трансивер ответил непонятно: %1</source>
        <translation>the radio&apos;s answer makes no sense: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>трансивер не переводит ватты в свою шкалу мощности: мощность не задать</source>
        <translation>the radio does not convert watts to its power scale: the power cannot be set</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>вид излучения</source>
        <translation>mode</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>трансивер не сообщил мощность</source>
        <translation>the radio did not report its power</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>мощность была бы выше предела %1 Вт</source>
        <translation>the power would exceed the %1 W limit</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>остановлено</source>
        <translation>stopped</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>трансивер передаёт без задания: оно не включает передачу поверх оператора</source>
        <translation>the radio transmits without the job: a job never keys over the operator</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Трансивер не отвечает (%1): передача выключается по новому соединению, пока он не ответит</source>
        <translation>The radio does not answer (%1): the carrier is being unkeyed over a new connection until it does</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Трансивер ответил: передача выключена, трансивер возвращён</source>
        <translation>The radio answered: the carrier is off and the radio put back</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+19"/>
        <source>трансивер не отвечал</source>
        <translation>the radio did not answer</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>трансивер не возвращён: на нём передаёт оператор</source>
        <translation>the radio is not put back: the operator transmits on it</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+5"/>
        <source>трансивер не возвращён: %1</source>
        <translation>the radio is not put back: %1</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>Передача, оставленная прошлым запуском, выключена; трансивер %1 возвращён</source>
        <translation>The carrier the last run left on is off; the radio at %1 is put back</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Трансивер не отвечает: передача, оставленная прошлым запуском, выключается, пока он не ответит</source>
        <translation>The radio does not answer: the carrier the last run left on is being unkeyed until it does</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Прошлый запуск оставил трансивер %1 передающим: передача выключается, трансивер возвращается</source>
        <translation>The last run left the radio at %1 transmitting: unkeying it and putting it back</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/console/commandline.cpp" line="+185"/>
        <source>неверный --comport «%1»: нужно от 1 до 16</source>
        <translation>invalid --comport &quot;%1&quot;: expected 1 to 16</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>неверный --lang «%1»: нужно ru или en</source>
        <translation>invalid --lang &quot;%1&quot;: expected ru or en</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>--export и --import не даются вместе</source>
        <translation>--export and --import exclude each other</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>--%1: нужно имя файла (- для стандартного %2)</source>
        <translation>--%1 needs a file name (- for standard %2)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>вывода</source>
        <translation>output</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ввода</source>
        <translation>input</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>неверный --mqtt «%1»: %2</source>
        <translation>invalid --mqtt &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>неверный --control «%1»: нужно [УЗЕЛ:]ПОРТ или off</source>
        <translation>invalid --control &quot;%1&quot;: expected [HOST:]PORT or off</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>неверный --web «%1»: нужно [УЗЕЛ:]ПОРТ или off</source>
        <translation>invalid --web &quot;%1&quot;: expected [HOST:]PORT or off</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>--rig и --follow не даются вместе</source>
        <translation>--rig and --follow exclude each other</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>неверный --follow «%1»: см. --help</source>
        <translation>invalid --follow &quot;%1&quot;: see --help</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>неверный --rig «%1»: нужно УЗЕЛ или УЗЕЛ:ПОРТ</source>
        <translation>invalid --rig &quot;%1&quot;: expected HOST or HOST:PORT</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>лишний аргумент «%1»</source>
        <translation>unexpected argument &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/link/portmap.cpp" line="+26"/>
        <source>неверное назначение порта «%1»: нужно N=УСТРОЙСТВО, N от %2 до %3</source>
        <translation>invalid port mapping &quot;%1&quot;: expected N=DEVICE with N from %2 to %3</translation>
    </message>
</context>
<context>
    <name>ComputedTunes</name>
    <message>
        <location filename="../src/tunes/computedtunes.cpp" line="+117"/>
        <location line="+10"/>
        <source>сопротивление слишком мало для этой схемы</source>
        <translation>a resistance too low for this network</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>нужно %1 мкГн и %2 пФ, между шагами реле</source>
        <translation>needs %1 µH and %2 pF, between the relays&apos; steps</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>нужно %1 мкГн, катушки дают %2 мкГн</source>
        <translation>needs %1 µH, the coils give %2 µH</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>нужно %1 пФ, конденсаторы дают %2 пФ</source>
        <translation>needs %1 pF, the bank gives %2 pF</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>%1: не измерен</source>
        <translation>%1: not measured</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: вне досягаемости — %2</source>
        <translation>%1: out of reach — %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: бинов %2, все ниже 1,5</source>
        <translation>%1: %2 bins, all under 1.5</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: бинов %2, %3 ниже 1,5, все ниже 2,0</source>
        <translation>%1: %2 bins, %3 under 1.5, all under 2.0</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1: бинов %2, %3 ниже 2,0, %4 вне досягаемости — %5</source>
        <translation>%1: %2 bins, %3 under 2.0, %4 out of reach — %5</translation>
    </message>
    <message>
        <location line="+7"/>
        <source> (%1 не измерено)</source>
        <translation> (%1 not measured)</translation>
    </message>
</context>
<context>
    <name>ConsoleFeatures</name>
    <message>
        <location filename="../src/console/features.cpp" line="+53"/>
        <source>Порт %1 недоступен: %2</source>
        <translation>Port %1 is not available: %2</translation>
    </message>
    <message>
        <location filename="../src/station/station.cpp" line="+176"/>
        <source>консоль закрывается</source>
        <translation>the console is closing</translation>
    </message>
    <message>
        <location filename="../src/console/features.cpp" line="+132"/>
        <source>Шаги реле не заданы: &lt;a href=&quot;%1&quot;&gt;задать…&lt;/a&gt;</source>
        <translation>Relay steps not set: &lt;a href=&quot;%1&quot;&gt;set them…&lt;/a&gt;</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Поддиапазон %1 диапазона %2: %3–%4 МГц</source>
        <translation>Sub-band %1 of %2: %3–%4 MHz</translation>
    </message>
</context>
<context>
    <name>ConsoleMenu</name>
    <message>
        <location filename="../src/console/consolemenu.cpp" line="+113"/>
        <source>Веб-страница: %1</source>
        <translation>Web page: %1</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Следить за трансивером…</source>
        <translation>Follow the transceiver…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Диапазоны…</source>
        <translation>Bands…</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Подобрать согласование…</source>
        <translation>Find the match…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Подобрать согласование… — %1</source>
        <translation>Find the match… — %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Порты…</source>
        <translation>Ports…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Журнал линии</source>
        <translation>Line log</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Память частот</source>
        <translation>Frequency memory</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Обзор КСВ…</source>
        <translation>SWR sweep…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>MQTT…</source>
        <translation>MQTT…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Веб-страница (%1)</source>
        <translation>Web page (%1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Веб-страница в браузере</source>
        <translation>Web page in the browser</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Сохранить в ячейку (Save)</source>
        <translation>Store in the slot (Save)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Экспорт памяти…</source>
        <translation>Export memories…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Импорт памяти…</source>
        <translation>Import memories…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Таблица диапазонов сохранена</source>
        <translation>Band table saved</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Подбор согласования</source>
        <translation>Finding the match</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Подбор не начнётся: %1. По ним модель цепи предсказывает согласование; с нулевыми шагами поиск уходит далеко от него.</source>
        <translation>The search will not start: %1. The network model predicts the match from them; with steps of 0 the search ends far from it.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Задать шаги…</source>
        <translation>Set the steps…</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Подбор согласования: %1</source>
        <translation>Matching search: %1</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>Экспорт памяти</source>
        <translation>Export memories</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Таблицы CSV (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Импорт памяти</source>
        <translation>Import memories</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation>CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>guide.ru.html</source>
        <extracomment>The operator&apos;s guide in this language: guide.html for English.</extracomment>
        <translation>guide.html</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Справка: man orvane, или README.md в исходниках</source>
        <translation>Help: man orvane, or README.md with the sources</translation>
    </message>
</context>
<context>
    <name>ControlCommands</name>
    <message>
        <location filename="../src/control/commands.cpp" line="+364"/>
        <source>Обучение: %1</source>
        <translation>Training: %1</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Обзор КСВ: %1</source>
        <translation>SWR sweep: %1</translation>
    </message>
</context>
<context>
    <name>ControlHints</name>
    <message>
        <location filename="../src/console/controlhints.cpp" line="+58"/>
        <source>Orvane: управление блоком реле антенного тюнера</source>
        <translation>Orvane: antenna tuner relay block control</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ёмкости C</source>
        <translation>capacitance C</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>индуктивности L</source>
        <translation>inductance L</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Код %1</source>
        <translation>%1 code</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Код реле %1 от 0 до 255; применяется кнопкой «%2 =»</source>
        <translation>Relay code of %1, 0 to 255; applied with the &quot;%2 =&quot; button</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 =, применить код</source>
        <translation>%1 =, apply the code</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Поставить реле %1 по коду из поля</source>
        <translation>Set the relays of %1 to the code in the box</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;&lt;, %1 на шаг вниз</source>
        <translation>&lt;&lt;, %1 step down</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Уменьшить код %1 на 1</source>
        <translation>Lower the %1 code by 1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&gt;&gt;, %1 на шаг вверх</source>
        <translation>&gt;&gt;, %1 step up</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Увеличить код %1 на 1</source>
        <translation>Raise the %1 code by 1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Нажмите или протяните мышью: код выставится, когда кнопка отпущена. С клавиатуры: стрелки ±1, Page Up/Page Down ±16, Home/End — 0 и 255, колесо мыши ±1.</source>
        <translation>Press or drag with the mouse: the code is set when the button is released. From the keyboard: arrows ±1, Page Up/Page Down ±16, Home/End 0 and 255; mouse wheel ±1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Полоса %1</source>
        <translation>%1 bar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Полоса %1. %2</source>
        <translation>%1 bar. %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Конденсаторы на стороне передатчика</source>
        <translation>Capacitors on the transmitter side</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <source>Конденсаторы на стороне антенны</source>
        <translation>Capacitors on the antenna side</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Антенна %1</source>
        <translation>Antenna %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Выбрать антенну и вызвать её ячейку</source>
        <translation>Select the antenna and recall its slot</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Диапазон %1</source>
        <translation>Band %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Выбрать диапазон и вызвать его ячейку</source>
        <translation>Select the band and recall its slot</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Диапазон %1: выбрать и вызвать ячейку</source>
        <translation>Band %1: select it and recall the slot</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Поддиапазон %1</source>
        <translation>Sub-band %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Выбрать поддиапазон и вызвать ячейку; любая клавиша вызывает её снова</source>
        <translation>Select the sub-band and recall the slot; any key recalls it again</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Номер порта</source>
        <translation>Port number</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Порт контроллера, 1–16</source>
        <translation>The controller&apos;s port, 1–16</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>..., шаги реле</source>
        <translation>..., relay steps</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Меню</source>
        <translation>Menu</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Меню дополнений; также клавиша меню или Shift+F10</source>
        <translation>Menu of the additions; also the menu key or Shift+F10</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>C, бит %1</source>
        <translation>C, bit %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Реле ёмкости %1</source>
        <translation>Capacitance relay %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Реле ёмкости, бит %1: %2; нажмите, чтобы переключить</source>
        <translation>Capacitance relay, bit %1: %2; press to switch it</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>L, бит %1</source>
        <translation>L, bit %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Реле индуктивности %1</source>
        <translation>Inductance relay %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Реле индуктивности, бит %1: %2; нажмите, чтобы переключить</source>
        <translation>Inductance relay, bit %1: %2; press to switch it</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>C %1, код %2</source>
        <translation>C %1, code %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>L %1, код %2</source>
        <translation>L %1, code %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Схема: конденсаторы на стороне передатчика</source>
        <translation>Diagram: capacitors on the transmitter side</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Схема: конденсаторы на стороне антенны</source>
        <translation>Diagram: capacitors on the antenna side</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>порт %1, %2, открыт</source>
        <translation>port %1, %2, open</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>порт %1, %2, подключение</source>
        <translation>port %1, %2, connecting</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>порт %1 не доступен: %2</source>
        <translation>port %1 not available: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>порт %1 закрыт</source>
        <translation>port %1 closed</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>порт не выбран</source>
        <translation>no port chosen</translation>
    </message>
</context>
<context>
    <name>ControllerLink</name>
    <message>
        <location filename="../src/link/controllerlink.cpp" line="+31"/>
        <source>порт закрыт</source>
        <translation>port closed</translation>
    </message>
</context>
<context>
    <name>Doors</name>
    <message>
        <location filename="../src/doors/doors.cpp" line="+48"/>
        <source>MQTT не подключён: %1</source>
        <translation>MQTT not connected: %1</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>Порт управления: «%1» — не адрес</source>
        <translation>Control port: &quot;%1&quot; is no address</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Порт управления не открыт: %1</source>
        <translation>The control port is not open: %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Веб-страница: «%1» — не адрес</source>
        <translation>Web page: &quot;%1&quot; is no address</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Веб-страница не открыта: %1</source>
        <translation>The web page is not served: %1</translation>
    </message>
</context>
<context>
    <name>FirstStartDialog</name>
    <message>
        <location filename="../src/dialogs/firststartdialog.cpp" line="+21"/>
        <source>Первый запуск</source>
        <translation>First start</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Виртуальный контроллер (orvane-sim)</source>
        <translation>The virtual controller (orvane-sim)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Пока без контроллера</source>
        <translation>No controller for now</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 — с командной строки</source>
        <translation>%1 — from the command line</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>устройство или узел:порт</source>
        <translation>device or host:port</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <source>Контроллер</source>
        <translation>Controller</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Шаг ёмкости C, пФ</source>
        <translation>Capacitance step C, pF</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Шаг индуктивности L, нГн</source>
        <translation>Inductance step L, nH</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Куда подключён контроллер тюнера: последовательный порт, сервер порта в сети (узел:порт) или виртуальный контроллер</source>
        <translation>Where the tuner&apos;s controller is: a serial port, a serial server on the network (host:port) or the virtual controller</translation>
    </message>
    <message>
        <location line="+5"/>
        <source> пФ</source>
        <translation> pF</translation>
    </message>
    <message>
        <location line="+4"/>
        <source> нГн</source>
        <translation> nH</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Настроек ещё нет. Укажите, где контроллер тюнера, и шаги его реле: ёмкость младшего реле C и индуктивность младшего реле L. Всё это можно изменить позже: порт — списком Comport и «Порты…», шаги — кнопкой «...».</source>
        <translation>There are no settings yet. Say where the tuner&apos;s controller is and the steps of its relays: the capacitance of the least C relay and the inductance of the least L relay. All of it can be changed later: the port in the Comport list and &quot;Ports…&quot;, the steps with the &quot;...&quot; button.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Контроллер:</source>
        <translation>Controller:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Шаг ёмкости C:</source>
        <translation>Capacitance step C:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Шаг индуктивности L:</source>
        <translation>Inductance step L:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FollowDialog</name>
    <message>
        <location filename="../src/dialogs/followdialog.cpp" line="+59"/>
        <source>Радио:</source>
        <translation>Radio:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Программа (id):</source>
        <translation>Program (id):</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Следить за трансивером</source>
        <translation>Follow the transceiver</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>rigctld (Hamlib) — консоль опрашивает трансивер</source>
        <translation>rigctld (Hamlib): the console asks the transceiver</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>RadioInfo — объявления журнала (N1MM Logger+, DXLab, Log4OM…)</source>
        <translation>RadioInfo: a logger&apos;s announcements (N1MM Logger+, DXLab, Log4OM…)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>WSJT-X, JTDX — их UDP-сообщения</source>
        <translation>WSJT-X, JTDX: their UDP messages</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Hamlib multicast — рассылка состояния rigctld</source>
        <translation>Hamlib multicast: rigctld&apos;s state, multicast</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>MQTT — состояние трансивера на сервере станции</source>
        <translation>MQTT — the radio&apos;s state on the station&apos;s broker</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>активное</source>
        <translation>the active one</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>первая услышанная</source>
        <translation>the first one heard</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Источник:</source>
        <translation>Source:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Адрес:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Следить</source>
        <translation>Follow</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+56"/>
        <source>Узел или узел:порт; порт по умолчанию 4532.</source>
        <translation>Host or host:port; the port is 4532 unless given.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Порт или группа:порт (239.255.0.1:2237). Слышны только программы этого компьютера: у этих объявлений нет пароля.</source>
        <translation>A port, or group:port (239.255.0.1:2237). Only programs on this computer are heard: these announcements carry no password.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Группа:порт, как у rigctld --multicast-addr и --multicast-port.</source>
        <translation>Group:port, as given to rigctld&apos;s --multicast-addr and --multicast-port.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Тема на сервере MQTT консоли: JSON с частотой в Гц (freq или frequency) и, где есть, передачей (tx, ptt или transmitting).</source>
        <translation>A topic on the console&apos;s MQTT broker: JSON with the frequency in Hz (freq or frequency) and, where given, transmitting (tx, ptt or transmitting).</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>«%1» — не адрес для этого источника.</source>
        <translation>&quot;%1&quot; is no address for this source.</translation>
    </message>
</context>
<context>
    <name>Following</name>
    <message>
        <location filename="../src/rig/following.cpp" line="+98"/>
        <source>%1 МГц: память частоты %2–%3</source>
        <translation>%1 MHz: frequency memory %2–%3</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Трансивер на %1: ячейка %2</source>
        <translation>Transceiver on %1: slot %2</translation>
    </message>
    <message>
        <location line="+103"/>
        <source>%1: ждём объявлений (%2)</source>
        <translation>%1: waiting for announcements (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: нет объявлений</source>
        <translation>%1: no announcements</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1: порт не открыт: %2</source>
        <translation>%1: the port is not open: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1: %2 МГц</source>
        <translation>%1: %2 MHz</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1: на связи</source>
        <translation>%1: connected</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>, радио %1</source>
        <translation>, radio %1</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Трансивер: подключение…</source>
        <translation>Transceiver: connecting…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Трансивер: нет связи, повтор…</source>
        <translation>Transceiver: lost, retrying…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Трансивер: %1 МГц</source>
        <translation>Transceiver: %1 MHz</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Трансивер: на связи</source>
        <translation>Transceiver: connected</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>: вне таблицы диапазонов</source>
        <translation>: outside the band table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>, передача</source>
        <translation>, transmitting</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>; после передачи: %1, %2</source>
        <translation>; after TX: %1, %2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>передача не определяется: реле не блокируются</source>
        <translation>transmit not detected: relays are not held</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <location filename="../src/console/form1.ui" line="+14"/>
        <source>Управление блоком реле антенного тюнера</source>
        <translation>Antenna tuner relay block control</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Значение C</source>
        <translation>C value</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>C =</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ввести значение C</source>
        <translation>Enter the C value</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Значение L</source>
        <translation>L value</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>L =</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ввести значение L</source>
        <translation>Enter the L value</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <location line="+16"/>
        <source>0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <location line="+19"/>
        <source>background-color: rgb(192, 192, 192);</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+26"/>
        <source>&lt;&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-13"/>
        <location line="+26"/>
        <source>&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+86"/>
        <source>Tx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Ant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Антенна</source>
        <translation>Antenna</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+230"/>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-217"/>
        <location line="+230"/>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-217"/>
        <location line="+230"/>
        <source>3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-216"/>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Принудительная отправка в com-порт настроек выбранного диапазона.</source>
        <translation>Send the selected band&apos;s settings to the COM port again.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Записать текущие настройки в контроллер.</source>
        <translation>Write the current settings to the controller.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Диапазон</source>
        <translation>Band</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>160 м</source>
        <translation>160 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>80 м</source>
        <translation>80 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>40 м</source>
        <translation>40 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>30 м</source>
        <translation>30 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>20 м</source>
        <translation>20 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>17 м</source>
        <translation>17 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>15 м</source>
        <translation>15 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>12 м</source>
        <translation>12 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>10 м</source>
        <translation>10 m</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Д</source>
        <translation>Ext</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Дополнительный диапазон.</source>
        <translation>Additional band.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Поддиапазон</source>
        <translation>Sub-band</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Comport</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+23"/>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+16"/>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../src/console/form1.cpp" line="+33"/>
        <source>Ошибка открытия Com-порта</source>
        <translation>Error opening the COM port</translation>
    </message>
    <message>
        <location line="+214"/>
        <source>Com-порт %1 не доступен</source>
        <translation>COM port %1 is not available</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>порт не выбран: выберите его в списке Comport</source>
        <translation>no port chosen: choose one in the Comport list</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>порта %1 нет среди 1–16: выберите его в списке Comport</source>
        <translation>port %1 is not among 1–16: choose one in the Comport list</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Не удалось открыть файл настроек:
%1</source>
        <translation>Cannot open the settings file:
%1</translation>
    </message>
    <message>
        <location line="+433"/>
        <source>Не удалось записать файл настроек %1:
%2</source>
        <translation>Cannot write the settings file %1:
%2</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Дискретность ёмкости</source>
        <translation>Capacitance step</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Введите значение младшего<byte value="xd"/>
разряда ёмкости в пФ.<byte value="xd"/>
Максимальное значение - 128</source>
        <translation>Enter the value of the least<byte value="xd"/>
significant capacitance relay in pF.<byte value="xd"/>
Maximum value - 128</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Дискретность индуктивности</source>
        <translation>Inductance step</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Введите значение младшего<byte value="xd"/>
разряда индуктивности в нГн.<byte value="xd"/>
Максимальное значение - 999</source>
        <translation>Enter the value of the least<byte value="xd"/>
significant inductance relay in nH.<byte value="xd"/>
Maximum value - 999</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Настройки хранятся в %1</source>
        <translation>The settings are kept in %1</translation>
    </message>
</context>
<context>
    <name>FormPanel</name>
    <message>
        <location filename="../src/console/formpanel.cpp" line="+283"/>
        <source>Сохранено: %1</source>
        <translation>Stored: %1</translation>
    </message>
    <message>
        <location line="+91"/>
        <source>Передача: реле не переключаются</source>
        <translation>Transmitting: relays held</translation>
    </message>
</context>
<context>
    <name>FrequencyMemory</name>
    <message>
        <location filename="../src/tunes/frequencymemory.cpp" line="+59"/>
        <source>КСВ %1 на расчётной настройке: подберите её (Ctrl+T)</source>
        <translation>SWR %1 on a computed tune: search for a better one (Ctrl+T)</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Память частот недоступна, консоль работает без неё: %1</source>
        <translation>The frequency memory is not available; the console runs without it: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Память частот: файл отложен как %1, начата новая</source>
        <translation>Frequency memory: file set aside as %1, a new one started</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>частота вне таблицы диапазонов</source>
        <translation>frequency outside the band table</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+125"/>
        <location line="+16"/>
        <location line="+51"/>
        <location line="+50"/>
        <source>память частот недоступна</source>
        <translation>frequency memory unavailable</translation>
    </message>
    <message>
        <location line="-217"/>
        <source>в этой ячейке закреплённая настройка</source>
        <translation>this bin holds a pinned tune</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Память частот: %1</source>
        <translation>Frequency memory: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Память частот: не записано: %1</source>
        <translation>Frequency memory: not written: %1</translation>
    </message>
    <message>
        <location line="+51"/>
        <location line="+123"/>
        <source>импорт уже идёт</source>
        <translation>an import is already under way</translation>
    </message>
    <message>
        <location line="-107"/>
        <source>файл больше 16 МиБ</source>
        <translation>the file is larger than 16 MiB</translation>
    </message>
    <message>
        <location line="+84"/>
        <source>отменять нечего</source>
        <translation>nothing to undo</translation>
    </message>
</context>
<context>
    <name>FrequencyMemoryWindow</name>
    <message>
        <location filename="../src/dialogs/frequencymemorywindow.cpp" line="+35"/>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>подбор</source>
        <translation>search</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>обучение</source>
        <translation>training</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>импорт</source>
        <translation>import</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>расчёт</source>
        <translation>computed</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Память частот</source>
        <translation>Frequency memory</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Антенна %1</source>
        <translation>Antenna %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Антенна</source>
        <translation>Antenna</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Диапазон</source>
        <translation>Band</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Частоты, МГц</source>
        <translation>Frequencies, MHz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Сторона</source>
        <translation>Side</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>КСВ</source>
        <translation>SWR</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Источник</source>
        <translation>Source</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Закреплено</source>
        <translation>Pinned</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Настройки по частоте</source>
        <translation>Tunes by frequency</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Закрепить / открепить</source>
        <translation>Pin / unpin</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Сохранить реле здесь</source>
        <translation>Store relays here</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Экспорт…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Импорт…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Обучить диапазон…</source>
        <translation>Train band…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Обзор КСВ…</source>
        <translation>SWR sweep…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Измерение антенны…</source>
        <translation>Antenna measurement…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отменить измерение</source>
        <translation>Undo the measurement</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Детали тюнера…</source>
        <translation>Tuner&apos;s parts…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Сохранить PNG…</source>
        <translation>Save PNG…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>да</source>
        <translation>yes</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Память частот недоступна.</source>
        <translation>Frequency memory unavailable.</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Выберите строку: частота трансивера неизвестна.</source>
        <translation>Choose a row: the radio&apos;s frequency is unknown.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Реле сохранены для %1 МГц.</source>
        <translation>Relays stored for %1 MHz.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Экспорт памяти частот</source>
        <translation>Export frequency memory</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Таблицы CSV (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Не удалось записать %1:
%2</source>
        <translation>Could not write %1:
%2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Экспортировано в %1.</source>
        <translation>Exported to %1.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Импорт памяти частот</source>
        <translation>Import frequency memory</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation>CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Импорт из %1…</source>
        <translation>Importing from %1…</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Импорт из %1 не выполнен, ничего не изменено:
%2</source>
        <translation>Nothing was imported from %1, nothing changed:
%2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Импортировано настроек: %1.</source>
        <translation>Tunes imported: %1.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Обучение невозможно: %1</source>
        <translation>Training impossible: %1</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Измерение антенны</source>
        <translation>Antenna measurement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Измерения (*.s1p *.csv);;Touchstone (*.s1p);;Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation>Measurements (*.s1p *.csv);;Touchstone (*.s1p);;CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Чтение %1…</source>
        <translation>Reading %1…</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Измерение из %1 не прочитано, ничего не изменено:
%2</source>
        <translation>The measurement from %1 was not read; nothing was changed:
%2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Измерения антенны нет.</source>
        <translation>No antenna measurement.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Сохранить картину</source>
        <translation>Save the picture</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Изображения PNG (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Не удалось записать %1</source>
        <translation>Could not write %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Сохранено в %1.</source>
        <translation>Saved to %1.</translation>
    </message>
</context>
<context>
    <name>LineLog</name>
    <message>
        <location filename="../src/link/linelog.cpp" line="+38"/>
        <source>оператор</source>
        <translation>operator</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>запуск</source>
        <translation>start-up</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>трансивер</source>
        <translation>radio</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>удалённый клиент</source>
        <translation>remote</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>подбор</source>
        <translation>search</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>импорт</source>
        <translation>import</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 — не отправлен: %2</source>
        <translation>%1 — not sent: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>порт открыт: %1</source>
        <translation>port open: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>порт закрыт</source>
        <translation>port closed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>порт недоступен: %1</source>
        <translation>port not available: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>вызов ячейки: %1 (%2)</source>
        <translation>recall: %1 (%2)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>порт %1</source>
        <translation>port %1</translation>
    </message>
</context>
<context>
    <name>LineLogWindow</name>
    <message>
        <location filename="../src/dialogs/linelogwindow.cpp" line="+18"/>
        <location line="+50"/>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="-48"/>
        <location line="+6"/>
        <source>Журнал линии</source>
        <translation>Line log</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Пакеты, отправленные в порт и отброшенные, события порта и вызовы ячеек</source>
        <translation>Packets sent to the port and dropped, port events and slot recalls</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Сохранить как текст…</source>
        <translation>Save as text…</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Продолжить</source>
        <translation>Go on</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Сохранить журнал линии</source>
        <translation>Save the line log</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Текст (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
</context>
<context>
    <name>LineProblem</name>
    <message>
        <location filename="../src/link/linedevice.cpp" line="+34"/>
        <source>нет такого устройства</source>
        <translation>no such device</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>нет прав на чтение и запись</source>
        <translation>no permission to read and write it</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>занят процессом %1</source>
        <translation>busy, held by process %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>занят другой программой</source>
        <translation>busy, held by another program</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>остался файл блокировки %1 от завершённого процесса %2</source>
        <translation>a stale lock file %1 was left by process %2, which has ended</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>не последовательный порт</source>
        <translation>not a serial port</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>нет соединения: %1</source>
        <translation>no connection: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>линия не принимает данные</source>
        <translation>the line takes no data</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>связь потеряна</source>
        <translation>connection lost</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>связь потеряна: %1</source>
        <translation>connection lost: %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Последовательные порты принадлежат группе dialout. Добавьте себя в неё:
sudo adduser $USER dialout
и войдите в систему заново.</source>
        <translation>Serial ports belong to the dialout group. Add yourself to it:
sudo adduser $USER dialout
then log out and in again.</translation>
    </message>
    <message>
        <location filename="../src/link/networkline.cpp" line="+13"/>
        <source>нет ответа за %1 с</source>
        <translation>no answer within %1 s</translation>
    </message>
    <message>
        <location filename="../src/link/virtualline.cpp" line="+19"/>
        <source>%1 не ответил за %2 с</source>
        <translation>%1 did not answer within %2 s</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>%1 завершился</source>
        <translation>%1 ended</translation>
    </message>
</context>
<context>
    <name>MemoryBackup</name>
    <message>
        <location filename="../src/backup/memorybackup.cpp" line="+15"/>
        <source>Экспорт не удался:
%1</source>
        <translation>The export failed:
%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Экспортировано в %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Импорт не выполнен, файл настроек не изменён:
%1</source>
        <translation>Nothing was imported; the settings file is unchanged:
%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Не удалось открыть файл настроек:
%1</source>
        <translation>Cannot open the settings file:
%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Импортировано ячеек: %1</source>
        <translation>Slots imported: %1</translation>
    </message>
</context>
<context>
    <name>MemoryTable</name>
    <message>
        <location filename="../src/backup/memorycommands.cpp" line="+31"/>
        <source>файла настроек %1 ещё нет</source>
        <translation>there is no settings file %1 yet</translation>
    </message>
    <message>
        <location filename="../src/backup/csv.cpp" line="+124"/>
        <source>строка %1: кавычка не закрыта</source>
        <translation>line %1: a quote is not closed</translation>
    </message>
    <message>
        <location line="-78"/>
        <source>это не текст в UTF-8</source>
        <translation>this is not UTF-8 text</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message numerus="yes">
        <location line="+9"/>
        <source>… и ещё %n</source>
        <translation>
            <numerusform>… and %n more</numerusform>
            <numerusform>… and %n more</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>поля разделены знаком «%1»</source>
        <translation>fields separated by &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="+107"/>
        <source>поле «%1»: нужно целое от 0 до 128</source>
        <translation>field &quot;%1&quot;: a whole number from 0 to 128 is needed</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>поле «%1»: нужно целое от 1 до 999</source>
        <translation>field &quot;%1&quot;: a whole number from 1 to 999 is needed</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>нужно одно из «160 м» … «10 м», «Д» (или 160m … 10m, Ext)</source>
        <translation>one of &quot;160 m&quot; … &quot;10 m&quot;, &quot;Ext&quot; (or 160m … 10m, or the Russian captions) is needed</translation>
    </message>
    <message>
        <location filename="../src/backup/csv.cpp" line="+16"/>
        <source>в заголовке нет столбца «%1»</source>
        <translation>the header has no column &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="-12"/>
        <source>нет поля «%1»</source>
        <translation>no field &quot;%1&quot;</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>поле «%1» = «%2»: %3</source>
        <translation>field &quot;%1&quot; = &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <location line="-25"/>
        <source>ожидались шаги или заголовок таблицы «%1» (%2)</source>
        <translation>the steps or the table&apos;s header &quot;%1&quot; were expected (%2)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>нет заголовка таблицы «%1» (%2)</source>
        <translation>no table header &quot;%1&quot; (%2)</translation>
    </message>
    <message>
        <location filename="../src/backup/csv.cpp" line="-4"/>
        <source>столбец «%1» назван дважды</source>
        <translation>the column &quot;%1&quot; is named twice</translation>
    </message>
    <message>
        <location filename="../src/backup/memorytable.cpp" line="+32"/>
        <source>нужно 1, 2 или 3</source>
        <translation>1, 2 or 3 is needed</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>нужно целое от 1 до 5</source>
        <translation>a whole number from 1 to 5 is needed</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+3"/>
        <source>нужно целое от 0 до 255</source>
        <translation>a whole number from 0 to 255 is needed</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>нужно Tx, Ant или целое от 0 до 255</source>
        <translation>Tx, Ant or a whole number from 0 to 255 is needed</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>ячейка %1, %2, %3 уже была выше</source>
        <translation>slot %1, %2, %3 is already above</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>%1: это не обычный файл</source>
        <translation>%1: not a regular file</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>%1: больше %2 КиБ, это не таблица памяти</source>
        <translation>%1: more than %2 KiB, not a memory table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>стандартный ввод</source>
        <translation>standard input</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>не удалось вывести таблицу</source>
        <translation>cannot write the table</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>ссылка ведёт в никуда</source>
        <translation>the link leads nowhere</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>это папка</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>канал никто не читает</source>
        <translation>nobody reads the pipe</translation>
    </message>
</context>
<context>
    <name>MqttBridge</name>
    <message>
        <location filename="../src/mqtt/mqttbridge.cpp" line="+64"/>
        <source>MQTT: %1</source>
        <translation>MQTT: %1</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>MQTT: на связи с %1</source>
        <translation>MQTT: connected to %1</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>MQTT: команда с флагом retain не выполняется (%1)</source>
        <translation>MQTT: a command with the retain flag is not run (%1)</translation>
    </message>
</context>
<context>
    <name>MqttClient</name>
    <message>
        <location filename="../src/mqtt/mqttclient.cpp" line="+16"/>
        <source>сервер не ответил за %1 с</source>
        <translation>the broker did not answer within %1 s</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>TLS для MQTT недоступен: в этой сборке его нет</source>
        <translation>TLS for MQTT is not available: this build has none</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>файл сертификатов %1 не читается</source>
        <translation>the certificate file %1 cannot be read</translation>
    </message>
    <message>
        <location line="+142"/>
        <source>клиент MQTT ответил непонятно</source>
        <translation>the MQTT client&apos;s answer makes no sense</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>сервер отказал: %1</source>
        <translation>the broker refused: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>сервер прислал пакет больше %1 КиБ</source>
        <translation>the server sent a packet larger than %1 KiB</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>связь с сервером потеряна</source>
        <translation>the connection to the broker was lost</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>клиент MQTT завершился без ответа</source>
        <translation>the MQTT client ended without a word</translation>
    </message>
    <message>
        <location line="-52"/>
        <source>сервер молчит</source>
        <translation>the broker is silent</translation>
    </message>
    <message>
        <location line="-179"/>
        <source>эта сборка консоли без MQTT</source>
        <translation>this build of the console has no MQTT</translation>
    </message>
</context>
<context>
    <name>MqttDialog</name>
    <message>
        <location filename="../src/dialogs/mqttdialog.cpp" line="+16"/>
        <location line="+3"/>
        <source>Не подключено.</source>
        <translation>Not connected.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Подключение к %1…</source>
        <translation>Connecting to %1…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>На связи с %1.</source>
        <translation>Connected to %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Нет связи с %1: %2; повтор через %3 с.</source>
        <translation>No connection to %1: %2; trying again in %3 s.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Только публиковать: команд из MQTT не принимать</source>
        <translation>Publish only: take no commands from MQTT</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Объявлять устройство для Home Assistant</source>
        <translation>Announce the device to Home Assistant</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>MQTT</source>
        <translation>MQTT</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Адрес сервера MQTT</source>
        <translation>MQTT broker address</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>сертификаты системы</source>
        <translation>the system&apos;s certificates</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Файл сертификатов CA для mqtts</source>
        <translation>CA certificate file for mqtts</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;Адрес:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;CA (mqtts):</source>
        <translation>&amp;CA (mqtts):</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>mqtt://[пользователь@]сервер[:порт]/начало-тем или mqtts://… Пусто — выключено. Пароль сервера: orvane --set-mqtt-password.</source>
        <translation>mqtt://[user@]broker[:port]/topic-prefix or mqtts://… Empty: off. The broker&apos;s password: orvane --set-mqtt-password.</translation>
    </message>
</context>
<context>
    <name>MqttUrl</name>
    <message>
        <location filename="../src/mqtt/mqtturl.cpp" line="+27"/>
        <source>ожидается mqtt://[USER@]HOST[:PORT]/PREFIX или mqtts://…</source>
        <translation>expected mqtt://[USER@]HOST[:PORT]/PREFIX or mqtts://…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>пароль не пишется в адресе: задайте его --set-mqtt-password</source>
        <translation>no password in the address: set it with --set-mqtt-password</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>в адресе нет сервера</source>
        <translation>the address names no broker</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>«%1» не годится началом темы</source>
        <translation>&quot;%1&quot; cannot begin a topic</translation>
    </message>
</context>
<context>
    <name>Packet</name>
    <message>
        <location filename="../src/link/packet.cpp" line="+42"/>
        <source>неизвестная команда %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>неверное окончание пакета</source>
        <translation>bad packet trailer</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>, антенна 3</source>
        <translation>, antenna 3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>сторона = %1</source>
        <translation>side = %1</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>нет заголовка AA 55 01</source>
        <translation>no AA 55 01 header</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>пакет оборван</source>
        <translation>packet cut short</translation>
    </message>
</context>
<context>
    <name>PartsDialog</name>
    <message>
        <location filename="../src/dialogs/partsdialog.cpp" line="+20"/>
        <source>Уточнить по показаниям</source>
        <translation>Fit to the readings</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+110"/>
        <source>Детали тюнера</source>
        <translation>Tuner&apos;s parts</translation>
    </message>
    <message>
        <location line="-108"/>
        <source>Реле</source>
        <translation>Relay</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>C, пФ</source>
        <translation>C, pF</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>L, нГн</source>
        <translation>L, nH</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>C реле %1, пФ</source>
        <translation>C of relay %1, pF</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>L реле %1, нГн</source>
        <translation>L of relay %1, nH</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+5"/>
        <source>Паразитная ёмкость, пФ</source>
        <translation>Stray capacitance, pF</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>без потерь</source>
        <translation>lossless</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+3"/>
        <source>Добротность катушек</source>
        <translation>Coils&apos; Q</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Вернуть прежние</source>
        <translation>Bring back the previous</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Каждое реле должно иметь ёмкость и индуктивность больше нуля.</source>
        <translation>Every relay needs a capacitance and an inductance above zero.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Сохранено; настройки из измерений пересчитываются.</source>
        <translation>Kept; the tunes computed from measurements are computed again.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Прежних деталей нет.</source>
        <translation>There are no previous parts.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Прежние детали возвращены.</source>
        <translation>The previous parts are back.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Уточнение…</source>
        <translation>Fitting…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Принять уточнённые детали?

%1</source>
        <translation>Take the fitted parts?

%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Принять</source>
        <translation>Take them</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Приняты; прежние можно вернуть.
%1</source>
        <translation>Taken; the previous ones can be brought back.
%1</translation>
    </message>
</context>
<context>
    <name>PartsFit</name>
    <message>
        <location filename="../src/tune/partsfit.cpp" line="+190"/>
        <source>по %1 показаниям не определить %2 неизвестных</source>
        <translation>%1 readings cannot determine %2 unknowns</translation>
    </message>
    <message>
        <location line="+106"/>
        <location line="+22"/>
        <location line="+8"/>
        <source>показания её не определяют</source>
        <translation>the readings do not determine it</translation>
    </message>
    <message>
        <location line="-19"/>
        <location line="+2"/>
        <source>ни разу не включалась</source>
        <translation>never switched in</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>ни одна катушка не включалась</source>
        <translation>no coil was switched in</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 %2 %3 оставлено: %4</source>
        <translation>%1 %2 %3 kept: %4</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>пФ</source>
        <translation>pF</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>нГн</source>
        <translation>nH</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Паразитная</source>
        <translation>Stray</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Невязка %1 до, %2 после; показаний: %3, неизвестных нагрузок: %4</source>
        <translation>Residual %1 before, %2 after, %3 readings, %4 unknown loads</translation>
    </message>
</context>
<context>
    <name>PortsDialog</name>
    <message>
        <location filename="../src/dialogs/portsdialog.cpp" line="+18"/>
        <source>Виртуальный контроллер</source>
        <translation>Virtual controller</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Порты</source>
        <translation>Ports</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Устройство</source>
        <translation>Device</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Изготовитель</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Серийный номер</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Постоянное имя</source>
        <translation>Lasting name</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Найденные последовательные порты</source>
        <translation>Serial ports found</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Устройство, путь или узел:порт; пусто — %1</source>
        <translation>Device, path or host:port; empty means %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+1"/>
        <location line="+2"/>
        <source>Порт %1</source>
        <translation>Port %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Обновить список</source>
        <translation>Refresh the list</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Найденные последовательные порты:</source>
        <translation>Serial ports found:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Что стоит за каждым номером в списке Comport:</source>
        <translation>What stands behind each number of the Comport list:</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>orvane-sim, запускаемый с портом</source>
        <translation>orvane-sim, started with the port</translation>
    </message>
</context>
<context>
    <name>PtyEndpoint</name>
    <message>
        <location filename="../src/sim/localendpoint.cpp" line="+38"/>
        <source>не удалось создать псевдотерминал: %1</source>
        <translation>cannot create a pseudo-terminal: %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>не удалось открыть %1</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>не удалось создать ссылку %1</source>
        <translation>cannot create the link %1</translation>
    </message>
</context>
<context>
    <name>RigRescue</name>
    <message>
        <location filename="../src/rig/rigrescue.cpp" line="+69"/>
        <source>трансивер не ответил за %1 с</source>
        <translation>the radio did not answer within %1 s</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>ответ не похож на rigctld</source>
        <translation>the answer is not rigctld&apos;s</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+19"/>
        <source>трансивер отказал в «%1» (RPRT %2)</source>
        <translation>the radio refused “%1” (RPRT %2)</translation>
    </message>
    <message>
        <location line="-7"/>
        <source>трансивер всё ещё передаёт</source>
        <translation>the radio still transmits</translation>
    </message>
</context>
<context>
    <name>ServiceGate</name>
    <message>
        <location filename="../src/net/gate.cpp" line="+27"/>
        <source>%1 — за пределами этого компьютера: сначала задайте пароль (orvane --set-control-password)</source>
        <translation>%1 is beyond this computer: set a password first (orvane --set-control-password)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 — за пределами этого компьютера, а сертификат TLS не создан</source>
        <translation>%1 is beyond this computer and no TLS certificate could be made</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <location filename="../src/settings/settingsfile.cpp" line="+67"/>
        <location filename="../src/settings/settingslocation.cpp" line="+41"/>
        <source>%1: ссылка ведёт на несуществующий файл</source>
        <translation>%1: the link leads to a file that does not exist</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+11"/>
        <source>%1: это не файл настроек</source>
        <translation>%1: this is not a settings file</translation>
    </message>
    <message>
        <location line="+58"/>
        <location line="+7"/>
        <source>%1 удалён, и создать его заново не удалось: %2</source>
        <translation>%1 was deleted and cannot be created again: %2</translation>
    </message>
    <message>
        <location line="+41"/>
        <location line="+21"/>
        <source>файл настроек не открыт</source>
        <translation>the settings file is not open</translation>
    </message>
    <message>
        <location line="-19"/>
        <source>неверная позиция %1</source>
        <translation>bad position %1</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>не удалось сбросить на диск</source>
        <translation>cannot flush to disk</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>неизвестная ошибка</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslock.cpp" line="+91"/>
        <source>%1 уже открыт другой консолью (файл %2)</source>
        <translation>%1 is open in another console (lock file %2)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 уже открыт другой консолью (процесс %2)</source>
        <translation>%1 is already open in another console (process %2)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: не удалось создать файл блокировки %2</source>
        <translation>%1: cannot create the lock file %2</translation>
    </message>
    <message>
        <location filename="../src/settings/settingslocation.cpp" line="+7"/>
        <source>%1: это не файл настроек, а %2</source>
        <translation>%1: this is not a settings file but %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>папка</source>
        <translation>a folder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>файл устройства или канал</source>
        <translation>a device or a pipe</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1: файл есть, но прочитать его нельзя</source>
        <translation>%1: the file exists but cannot be read</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>%1: папка недоступна для записи</source>
        <translation>%1: the folder cannot be written</translation>
    </message>
</context>
<context>
    <name>Sim</name>
    <message>
        <location filename="../src/sim/virtualcontroller.cpp" line="+27"/>
        <source>не удалось прочитать %1</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <location filename="../src/sim/relaystate.cpp" line="+63"/>
        <source>%1 (и ещё %2 байт отброшено)</source>
        <translation>%1 (and %2 more bytes dropped)</translation>
    </message>
</context>
<context>
    <name>SimEndpoint</name>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="+8"/>
        <source>отключено: %1</source>
        <translation>unplugged: %1</translation>
    </message>
</context>
<context>
    <name>SimWindow</name>
    <message>
        <location filename="../src/sim/simwindow.cpp" line="+118"/>
        <source>Orvane — виртуальный контроллер</source>
        <translation>Orvane — virtual controller</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Журнал пакетов</source>
        <translation>Packet log</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Копировать журнал</source>
        <translation>Copy log</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отключить</source>
        <translation>Unplug</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Закрыть линию, как если бы адаптер выдернули</source>
        <translation>Close the line as if the adapter were pulled out</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>Линия: %1</source>
        <translation>Line: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Конденсаторы: %1
Флаг антенны 3: %2</source>
        <translation>Capacitors: %1
Antenna 3 flag: %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Пакетов: %1   Ошибок: %2</source>
        <translation>Packets: %1   Errors: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Радио %1: %2 МГц, %3, КСВ %4</source>
        <translation>Radio %1: %2 MHz, %3, SWR %4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>передача</source>
        <translation>transmitting</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>приём</source>
        <translation>receiving</translation>
    </message>
</context>
<context>
    <name>SmithChart</name>
    <message>
        <location filename="../src/dialogs/smithchart.cpp" line="+28"/>
        <source>Диаграмма Вольперта–Смита</source>
        <translation>Smith chart</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Закрашено: нагрузки, которые тюнер приводит к КСВ ниже 2,0 в середине диапазона</source>
        <translation>Shaded: the loads the tuner brings under 2.0 at the band&apos;s middle</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>нет измерения антенны</source>
        <translation>no antenna measurement</translation>
    </message>
</context>
<context>
    <name>Station</name>
    <message>
        <location filename="../src/station/station.cpp" line="-56"/>
        <source>уточнение деталей уже идёт</source>
        <translation>a fit of the parts is already running</translation>
    </message>
</context>
<context>
    <name>StatusStrip</name>
    <message>
        <location filename="../src/console/statusstrip.cpp" line="+69"/>
        <source>Меню (правая кнопка мыши на свободном месте окна, клавиша меню)</source>
        <translation>Menu (also a right click on a free area of the window, or the menu key)</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>не доставлено, Refresh</source>
        <translation>not delivered, Refresh</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Контроллер мог не получить показанные реле: порт не был открыт или линия не принимала данные. Refresh отправит их.</source>
        <translation>The controller may not have the relays shown: the port was not open, or the line took no data. Refresh sends them.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Сообщение</source>
        <translation>Message</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>понятно</source>
        <translation>seen</translation>
    </message>
</context>
<context>
    <name>SweepDialog</name>
    <message>
        <location filename="../src/dialogs/sweepdialog.cpp" line="+76"/>
        <source>с настройками памяти</source>
        <translation>through the memory</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Обзор КСВ, антенна %1</source>
        <translation>SWR sweep, antenna %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source> кГц</source>
        <translation> kHz</translation>
    </message>
    <message>
        <location line="+6"/>
        <source> мс</source>
        <translation> ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>антенна без настройки (C = 0, L = 0)</source>
        <translation>bare antenna (C = 0, L = 0)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>и то и другое</source>
        <translation>both</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Диапазон</source>
        <translation>Band</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>От, кГц</source>
        <translation>From, kHz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>До, кГц</source>
        <translation>To, kHz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Шаг, кГц</source>
        <translation>Step, kHz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Выдержка на шаге, мс</source>
        <translation>Dwell per step, ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Что измерять</source>
        <translation>What to sweep</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Сторона конденсаторов без настройки</source>
        <translation>Capacitor side of the bare antenna</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ход обзора</source>
        <translation>Sweep progress</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Сохранённые обзоры: отмеченные показаны</source>
        <translation>Kept sweeps: the ticked ones are shown</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Диапазон:</source>
        <translation>&amp;Band:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;От:</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Д&amp;о:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Шаг:</source>
        <translation>&amp;Step:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Выдержка:</source>
        <translation>&amp;Dwell:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Сторона:</source>
        <translation>S&amp;ide:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Измерять:</source>
        <translation>&amp;Sweep:</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Картинка PNG…</source>
        <translation>PNG picture…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Данные CSV…</source>
        <translation>CSV data…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>На каждом шаге: реле, частота, несущая малой мощности на время выдержки, КСВ, несущая снята. Потом трансивер и реле — как были.</source>
        <translation>At each step: the relays, the frequency, a low-power carrier for the dwell, the SWR, the carrier off. Afterwards the radio and the relays are as they were.</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>%1 из %2, осталось ~%3 с</source>
        <translation>%1 of %2, ~%3 s left</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Обзор невозможен: %1</source>
        <translation>No sweep: %1</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>%1 — %2, шаг %3 кГц, выдержка %4 мс</source>
        <translation>%1 — %2, step %3 kHz, dwell %4 ms</translation>
    </message>
    <message>
        <location line="+5"/>
        <source> — остановлен</source>
        <translation> — stopped</translation>
    </message>
    <message>
        <location line="+29"/>
        <location line="+11"/>
        <source>%1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Картинка обзора КСВ</source>
        <translation>SWR sweep picture</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Картинки PNG (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+16"/>
        <source>Не удалось записать %1:
%2</source>
        <translation>Could not write %1:
%2</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+16"/>
        <source>Сохранено в %1.</source>
        <translation>Saved to %1.</translation>
    </message>
    <message>
        <location line="-10"/>
        <source>Данные обзора КСВ</source>
        <translation>SWR sweep data</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Таблицы CSV (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
</context>
<context>
    <name>SweepPicture</name>
    <message>
        <location filename="../src/dialogs/sweeppicture.cpp" line="+126"/>
        <source>антенна без настройки</source>
        <translation>bare antenna</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>с настройками памяти</source>
        <translation>through the memory</translation>
    </message>
    <message>
        <location line="-86"/>
        <source>Обзор КСВ</source>
        <translation>SWR sweep</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>&lt; %1: ≥ %2 кГц</source>
        <translation>&lt; %1: ≥ %2 kHz</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source> в %n участках</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source> (до края обзора)</source>
        <translation> (to the sweep&apos;s end)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source> — остановлен</source>
        <translation> — stopped</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>мин. КСВ %1 на %2 МГц</source>
        <translation>lowest SWR %1 at %2 MHz</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>измерено</source>
        <translation>measured</translation>
    </message>
    <message>
        <location line="+92"/>
        <source>МГц</source>
        <translation>MHz</translation>
    </message>
    <message>
        <location line="-135"/>
        <source>&lt; %1: %2 кГц</source>
        <translation>&lt; %1: %2 kHz</translation>
    </message>
    <message>
        <location line="+221"/>
        <source>%1 МГц: КСВ %2 (%3)</source>
        <translation>%1 MHz: SWR %2 (%3)</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>%1: минимум КСВ %2 на %3 МГц</source>
        <translation>%1: lowest SWR %2 at %3 MHz</translation>
    </message>
</context>
<context>
    <name>Sweeper</name>
    <message>
        <location filename="../src/tunes/sweeper.cpp" line="+51"/>
        <source>обзор КСВ уже идёт</source>
        <translation>an SWR sweep is already running</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>память частот недоступна</source>
        <translation>the frequency memory is not available</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>участок вне диапазона</source>
        <translation>the stretch is outside the band</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>шаг меньше 100 Гц</source>
        <translation>the step is under 100 Hz</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>шаг больше участка</source>
        <translation>the step is larger than the stretch</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>выдержка должна быть от 100 мс до 10 с</source>
        <translation>the dwell must be 100 ms to 10 s</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>точек больше %1: увеличьте шаг</source>
        <translation>more than %1 points: take a larger step</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>обзор КСВ</source>
        <translation>the SWR sweep</translation>
    </message>
    <message>
        <location line="+115"/>
        <source>КСВ %1 и выше на %2 шагах подряд: здесь антенну не согласовать</source>
        <translation>SWR %1 or more at %2 steps in a row: the antenna cannot be matched here</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>трансивер не сообщил КСВ на %1 шагах подряд</source>
        <translation>the radio reported no SWR at %1 steps in a row</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>остановлено</source>
        <translation>stopped</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Обзор КСВ: точек %1 из %2</source>
        <translation>SWR sweep: %1 of %2 points</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>; прервано: %1</source>
        <translation>; ended: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>; трансивер не возвращён: %1</source>
        <translation>; the radio was not put back: %1</translation>
    </message>
</context>
<context>
    <name>TcpEndpoint</name>
    <message>
        <location filename="../src/sim/endpoint.cpp" line="+28"/>
        <source>прежнее соединение закрыто: %1</source>
        <translation>the previous connection was closed: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>подключено: %1</source>
        <translation>connected: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>соединение закрыто</source>
        <translation>connection closed</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>отключено: %1</source>
        <translation>unplugged: %1</translation>
    </message>
</context>
<context>
    <name>TrainDialog</name>
    <message>
        <location filename="../src/dialogs/traindialog.cpp" line="+21"/>
        <source>обучить заново и уже сохранённые ячейки</source>
        <translation>train again the bins already stored</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Обучить диапазон</source>
        <translation>Train band</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> кГц</source>
        <translation> kHz</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>От, кГц</source>
        <translation>From, kHz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>До, кГц</source>
        <translation>To, kHz</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ход обучения</source>
        <translation>Training progress</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Для каждой ячейки: частота трансивера, несущая не мощнее %1 Вт, подбор согласования, запись в память частот. На точку не больше минуты; три неудачи подряд — конец.</source>
        <translation>For every bin: the radio&apos;s frequency, a carrier of at most %1 W, a matching search, a store into the frequency memory. At most a minute a point; three failures in a row end it.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>От:</source>
        <translation>From:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>До:</source>
        <translation>To:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 из %2, осталось ~%3 с</source>
        <translation>%1 of %2, ~%3 s left</translation>
    </message>
</context>
<context>
    <name>Trainer</name>
    <message>
        <location filename="../src/tunes/trainer.cpp" line="+30"/>
        <source>обучение уже идёт</source>
        <translation>training is already running</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>память частот недоступна</source>
        <translation>frequency memory unavailable</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>обучение</source>
        <translation>training</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+15"/>
        <source>остановлено</source>
        <translation>stopped</translation>
    </message>
    <message numerus="yes">
        <location line="-13"/>
        <source>%n неудач подряд</source>
        <translation>
            <numerusform>%n failure in a row</numerusform>
            <numerusform>%n failures in a row</numerusform>
        </translation>
    </message>
    <message>
        <location line="+94"/>
        <source>Обучение: %1 из %2 ячеек сохранено, %3 пропущено</source>
        <translation>Training: %1 of %2 bins stored, %3 skipped</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>; прервано: %1</source>
        <translation>; interrupted: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>; трансивер не возвращён: %1</source>
        <translation>; radio not restored: %1</translation>
    </message>
</context>
<context>
    <name>TuneDialog</name>
    <message>
        <location filename="../src/dialogs/tunedialog.cpp" line="+21"/>
        <source>Сохранить в ячейку</source>
        <translation>Store in the slot</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Подбор согласования</source>
        <translation>Finding the match</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Реле будут переключаться под током высокой частоты.&lt;/b&gt;&lt;br&gt;Установите малую мощность (не больше 10 Вт) и дайте несущую (CW или TUNE). Поиск начнётся, когда трансивер перейдёт на передачу, и остановится, как только передача кончится, по кнопке «Отмена», клавише Esc или через %1 с.</source>
        <translation>&lt;b&gt;The relays will switch under RF.&lt;/b&gt;&lt;br&gt;Set low power (10 W at most) and key a carrier (CW or TUNE). The search starts when the transceiver transmits and stops as soon as it stops, on Cancel, on Esc, or after %1 s.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>проб: %v</source>
        <translation>probes: %v</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>КСВ %1 при C %2, L %3, %4</source>
        <translation>SWR %1 at C %2, L %3, %4</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Лучшее: %1</source>
        <translation>Best: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Ждём передачи…</source>
        <translation>Waiting for the carrier…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Поиск: C %1, L %2, %3</source>
        <translation>Searching: C %1, L %2, %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Поиск…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Готово. Снимите несущую. %1</source>
        <translation>Done. Drop the carrier. %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Не сохранять</source>
        <translation>Do not store</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>передача кончилась</source>
        <translation>the transmission ended</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>время вышло</source>
        <translation>time is up</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>связь с трансивером потеряна</source>
        <translation>the connection to the transceiver was lost</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>трансивер не сообщает КСВ</source>
        <translation>the transceiver does not report SWR</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>отменено</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Остановлено: %1. Реле вернулись как были.</source>
        <translation>Stopped: %1. The relays are back as they were.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TuneMap</name>
    <message>
        <location filename="../src/widgets/tunemap.cpp" line="+24"/>
        <source>Настройки по частоте: C сверху, L снизу, цвет — КСВ</source>
        <translation>Tunes by frequency: C above, L below, colour is SWR</translation>
    </message>
    <message>
        <location line="+89"/>
        <source>МГц</source>
        <translation>MHz</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>закреплено</source>
        <translation>pinned</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>расчёт</source>
        <translation>computed</translation>
    </message>
</context>
<context>
    <name>TuneTable</name>
    <message>
        <location filename="../src/tunes/tunetable.cpp" line="+64"/>
        <source>строка 1: нет заголовка таблицы «%1» (%2)</source>
        <translation>line 1: no table header “%1” (%2)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>строк больше %1: столько ячеек нет во всех диапазонах, трижды</source>
        <translation>more than %1 rows: every band together has not that many bins, thrice</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>поле «%1» = «%2»: %3</source>
        <translation>field “%1” = “%2”: %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>нужно 1, 2 или 3</source>
        <translation>needs 1, 2 or 3</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>нужна частота в Гц внутри одного из диапазонов</source>
        <translation>needs a frequency in Hz inside one of the bands</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+3"/>
        <source>нужно целое от 0 до 255</source>
        <translation>needs a whole number from 0 to 255</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>нужно Tx, Ant или целое от 0 до 255</source>
        <translation>needs Tx, Ant or a whole number from 0 to 255</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>нужно пусто или число от 1</source>
        <translation>needs empty or a number from 1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>нужна дата ISO 8601 или пусто</source>
        <translation>needs an ISO 8601 date or empty</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>нужно save, search, training или import</source>
        <translation>needs save, search, training or import</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>нужно 0 или 1</source>
        <translation>needs 0 or 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ячейка %1–%2 Гц антенны %3 уже была выше</source>
        <translation>bin %1–%2 Hz of antenna %3 was already above</translation>
    </message>
</context>
<context>
    <name>Tuning</name>
    <message>
        <location filename="../src/tune/tuning.cpp" line="+38"/>
        <source>сначала включите слежение за трансивером</source>
        <translation>follow the transceiver first</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>нет связи с трансивером</source>
        <translation>no connection to the transceiver</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>трансивер не сообщает КСВ</source>
        <translation>the transceiver does not report SWR</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>трансивер не сообщает, передаёт ли он</source>
        <translation>the transceiver does not say whether it transmits</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>поиск уже идёт</source>
        <translation>a search is under way</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>не заданы шаги реле (пФ и нГн)</source>
        <translation>the relay steps (pF and nH) are not set</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>Подбор остановлен, реле вернулись как были.</source>
        <translation>The search stopped; the relays are back as they were.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>КСВ %1 при C %2, L %3, %4</source>
        <translation>SWR %1 at C %2, L %3, %4</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1: хорошее согласование.</source>
        <translation>%1: a good match.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1: лучшее, что удалось; согласование плохое (КСВ выше %2).</source>
        <translation>%1: the best it could reach; a poor match (SWR above %2).</translation>
    </message>
</context>
<context>
    <name>ValueText</name>
    <message>
        <location filename="../src/model/valuetext.cpp" line="+64"/>
        <source>,</source>
        <extracomment>The decimal sign of numbers in running text, in this language.</extracomment>
        <translation>.</translation>
    </message>
</context>
<context>
    <name>WebServer</name>
    <message>
        <location filename="../src/web/webserver_off.cpp" line="+27"/>
        <source>в этой сборке нет веб-страницы</source>
        <translation>this build has no web page</translation>
    </message>
    <message>
        <location filename="../src/web/webserver_load.cpp" line="+32"/>
        <source>модуль веб-страницы не загружен: %1</source>
        <translation>the web page&apos;s module is not loaded: %1</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <location filename="../src/about/frmabout.ui" line="+14"/>
        <source>About Orvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Orvane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+22"/>
        <source>color: black;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+29"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>&amp;System Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/about/frmabout.cpp" line="+57"/>
        <source>About %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Version %1.%2.%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Управление блоком реле антенного тюнера
Разработчики Orvane
г. Энск, orvane@example.invalid</source>
        <translation>Antenna tuner relay block control
The Orvane developers
Ensk, orvane@example.invalid</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>System Information Is Unavailable At This Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
