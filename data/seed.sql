-- The database shipped with the program: its tables, the settings row, the demo pages
-- and the documents. Cell text is written with "|" between cells and a line break between
-- rows, and turned into TAB and carriage return as it is stored.
BEGIN;
CREATE TABLE tbl_Setup (
  location   TEXT,     -- 0
  open       TEXT,     -- 1  stored time, 08:00 AM
  Close      TEXT,     -- 2
  timeslot   INTEGER,  -- 3  minutes
  Listno     INTEGER,  -- 4  providers
  Names      TEXT,     -- 5  name list
  Sites      TEXT,     -- 6  name list
  FixedMemo  TEXT,     -- 7
  bookno     TEXT,     -- 8
  Readme     TEXT,     -- 9
  Licence    TEXT,     -- 10
  Mon TEXT, Tue TEXT, Wed TEXT, Thu TEXT, Fri TEXT, Sat TEXT, Sun TEXT,  -- 11 to 17
  chk1 INTEGER, chk2 INTEGER, chk3 INTEGER, chk4 INTEGER, chk5 INTEGER, chk6 INTEGER, chk7 INTEGER
);
CREATE TABLE tbl_Appt (
  id        INTEGER PRIMARY KEY AUTOINCREMENT,
  CalDate   TEXT NOT NULL,  -- yyyy-MM-dd
  Data      TEXT,
  Clinic    INTEGER,
  Memo      TEXT,
  location  TEXT,
  open      TEXT,
  Close     TEXT,
  timeslot  INTEGER,
  Listno    INTEGER,
  Sites     TEXT,
  Names     TEXT
);
CREATE INDEX idx_Appt_CalDate ON tbl_Appt (CalDate, id);
CREATE TABLE tbl_Order (
  id   INTEGER PRIMARY KEY,
  Help TEXT
);
INSERT INTO tbl_Setup (location, open, Close, timeslot, Listno, Names, Sites, FixedMemo, bookno, Readme, Licence, Mon, Tue, Wed, Thu, Fri, Sat, Sun, chk1, chk2, chk3, chk4, chk5, chk6, chk7) VALUES (
'Office',
'08:00 AM',
'05:00 PM',
30,
4,
'Dr. Ilse Marwick%Dr. Tomas Ferrante%Nurse Adaeze Okoro%Reception%',
'Room 1%Room 2%Lab%Front Desk%',
'Fixed memo: the office phone is 555-0142. Recall cards go out on the first Monday of each month.',
'A-114',
'CALVORA  Version 3.0

Calvora keeps the appointment book of a small practice or office: one page for each day,
with the appointment times down the side and up to sixteen providers across.

Getting started
1. Open the Setup Page from the main menu and describe your location, your opening and
   closing times, the length of an appointment slot, and your providers.
2. Open Customize Templates and block out, for each weekday, the times at which each
   provider is not available. Mark the weekdays on which you are closed.
3. Open Appointments and type your clients'' names into the cells.

Everything is kept in one file, db.mdb, in the program''s data folder (Help > About on the
day page names it). Back it up regularly with entry 4 of the main menu.

The demo pages of August to November 1998 (F2 on the day page) show what a finished page
can look like.
',
'END-USER LICENCE AGREEMENT

This copy of Calvora is licensed to you for use in one practice or office. You may install
it on the computers of that practice and make back-up copies of it and of its database.

You may not sell, rent or lend the program, nor remove its notices.

The program is supplied as it is. The maker accepts no liability for lost appointments,
lost data or lost business, however caused. Keep back-up copies of your database.

By using the program you accept this agreement.
',
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
****||****|
****|****|****|****
|****||****
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||', '|', char(9)), char(10), char(13)),
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
****||****|
****|****|****|****
|****||****
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||', '|', char(9)), char(10), char(13)),
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
****||****|
****|****|****|****
|****||****
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||', '|', char(9)), char(10), char(13)),
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
****||****|
****|****|****|****
|****||****
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||', '|', char(9)), char(10), char(13)),
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
****||****|
****|****|****|****
====|====|====|====
====|====|====|====
====|====|====|====
====|====|====|====
====|====|====|====
====|====|====|====
====|====|====|====
====|====|====|====
====|====|====|====
|||
|||', '|', char(9)), char(10), char(13)),
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||', '|', char(9)), char(10), char(13)),
replace(replace('|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||
|||', '|', char(9)), char(10), char(13)),
1,
0,
0,
0,
0,
0,
1);
INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names) VALUES (
'1998-10-10',
replace(replace('Saturday clinic|||
Elena Moreau||Rosa Dunmore|Bruno Quintero
Carla Nakamura|Hugo Castellan||Samir Dunmore
|||Samir Moreau
Hugo Bellweather||Nils Everly|Samir Jennings
||Samir Underhill|Dmitri Rasmussen
|||Rosa Nakamura
|Olga Lindqvist|Zora Fairbanks|
Samir Jennings|Keiko Yilmaz|Tessa Castellan|Nils Fairbanks
****|****|****|****
****|****|****|****
|Pavel Nakamura|Vera Castellan|
||Wendell Lindqvist|
|Carla Ivers|Vera Castellan|Wendell Jennings
|||Mona Valdez
Olga Lindqvist|Dmitri Pettersen|Yusuf Jennings|Hugo Moreau
Pavel Castellan|Mona Rasmussen|Elena Nakamura|
Nils Lindqvist||Hugo Everly|Elena Hartigan
|Samir Fairbanks|Amelia Everly|Lars Thibault
|||Tessa Underhill
|||
|||', '|', char(9)), char(10), char(13)),
0, 'Demo page: a busy Saturday with four providers.', 'Office', '08:00 AM', '05:00 PM', 30, 4, 'Room 1%Room 2%Lab%Front Desk%', 'Dr. Ilse Marwick%Dr. Tomas Ferrante%Nurse Adaeze Okoro%Reception%');
INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names) VALUES (
'1998-11-11',
replace(replace('||
|Yusuf Valdez|
Mona Moreau|Umar Moreau|Carla Galloway
Dmitri Kowalski||Samir Everly
||
Greta Thibault|Umar Ivers|
|Dmitri Pettersen|
Pavel Jennings|Dmitri Yilmaz|Ines Pettersen
|Amelia Galloway|
|Rosa Abernathy|
Umar Castellan||Lars Fairbanks
Hugo Rasmussen||
||
****|****|****
****|****|****
****|****|****
****|****|****
|Hugo Moreau|
Quinn Pettersen|Amelia Abernathy|
Greta Whitlock||Zora Yilmaz
||Hugo Dunmore
Greta Kowalski|Tessa Thibault|
Umar Lindqvist||Vera Dunmore
||
Farid Nakamura||Zora Yilmaz
Mona Yilmaz||
Elena Abernathy|Olga Underhill|Tessa Pettersen
|Rosa Rasmussen|Amelia Yilmaz
||
Greta Galloway|Greta Jennings|
|Rosa Nakamura|
Xenia Lindqvist||
||
|Elena Quintero|
||
|Elena Pettersen|
Bruno Kowalski||
Yusuf Dunmore||Greta Ivers
||
||', '|', char(9)), char(10), char(13)),
0, 'Demo page: fifteen-minute slots, three providers.', 'Office', '09:00 AM', '06:00 PM', 15, 3, 'Room 1%Room 2%Lab%', 'Dr. Ilse Marwick%Dr. Tomas Ferrante%Nurse Adaeze Okoro%');
INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names) VALUES (
'1998-09-09',
replace(replace('||||
Dmitri Quintero||Carla Okafor|Quinn Thibault|
||||
|||Rosa Galloway|
Dmitri Moreau|Carla Valdez|Carla Galloway||
|Wendell Underhill||Elena Okafor|Dmitri Moreau
|Vera Hartigan|Nils Quintero|Nils Galloway|Carla Yilmaz
Keiko Rasmussen|||Quinn Thibault|Carla Dunmore
|||Ines Ivers|Yusuf Fairbanks
Elena Nakamura||||Rosa Quintero
||Bruno Whitlock|Carla Ivers|
||Hugo Castellan|Dmitri Okafor|Rosa Nakamura
|Elena Bellweather||Dmitri Fairbanks|Farid Galloway
****|****|****|****|****
****|****|****|****|****
****|****|****|****|****
|||Olga Quintero|
Zora Abernathy||Amelia Yilmaz||
|Olga Dunmore|||
|||Greta Hartigan|Wendell Yilmaz
|Lars Bellweather||Umar Yilmaz|
Bruno Castellan||Quinn Valdez||
|Farid Fairbanks|Amelia Ivers|Keiko Rasmussen|Bruno Jennings
Farid Abernathy|Carla Pettersen|Umar Galloway|Yusuf Abernathy|Carla Everly
Bruno Moreau|Jonas Underhill|Samir Quintero||Wendell Thibault
Keiko Yilmaz||Xenia Thibault||Wendell Quintero
||||
||||', '|', char(9)), char(10), char(13)),
0, '', 'Office', '08:00 AM', '04:00 PM', 20, 5, 'Room 1%Room 2%Lab%Front Desk%Annex%', 'Dr. Ilse Marwick%Dr. Tomas Ferrante%Nurse Adaeze Okoro%Reception%Dr. Priya Vantongeren%');
INSERT INTO tbl_Appt (CalDate, Data, Clinic, Memo, location, open, Close, timeslot, Listno, Sites, Names) VALUES (
'1998-08-08',
replace(replace('|
Xenia Whitlock|
Quinn Zeller|Zora Abernathy
|Wendell Valdez
|Carla Abernathy
Umar Lindqvist|
Olga Rasmussen|Amelia Underhill
Hugo Pettersen|Olga Castellan
|Rosa Castellan
Carla Yilmaz|
Carla Ivers|Yusuf Galloway
Umar Okafor|Mona Castellan
|
|', '|', char(9)), char(10), char(13)),
1, 'Closed for the summer holiday; emergencies only.', 'Office', '07:30 AM', '12:30 PM', 30, 2, 'Room 1%Room 2%', 'Dr. Ilse Marwick%Dr. Tomas Ferrante%');
INSERT INTO tbl_Order (id, Help) VALUES (1, 'CALVORA HELP

THE MAIN MENU
Choose an entry with the mouse, with Enter or Space on the highlighted entry, or with its
digit key (1, 2, 3, 4 or 6 in the main row of the keyboard).
  1  Appointments: the day page.
  2  Setup Page: your location word, opening and closing times, slot length, the number of
     providers and their sites and names.
  3  Customize Templates: one page for each weekday, in which you block out the times at
     which a provider is not available, and mark the weekdays on which you are closed.
  4  Back-up / Restore Files: copy the database to a removable disk, or bring a copy back.
  6  Exit: leaves the program; you are offered a back-up first.

THE DAY PAGE
The grid shows one day: the appointment times run down the left, one column for each
provider, headed by the provider''s number, site and name. Type straight into a cell: the
text goes into the cell under the cursor and is kept when you move to another day or leave
the page. Enter opens or closes the cell you are on; the arrow keys move between cells.
Tab moves between the grid and the calendar.

The calendar on the right shows six weeks. Move its selection with the arrow keys, Page Up
(three weeks back) and Page Down (four weeks on); press Enter, Space or Tab, or click a day,
to open that day''s page. The month and year lists move the calendar; the status list marks
the day open or closed. Esc (or the Today button) brings you back to today.

Pages of past days show the layout they were made with and are locked against typing (Page
Lock, F3). A new day''s page starts from its weekday''s template.

FUNCTION KEYS
  F1 Help        F2 Demo pages   F3 Page Lock    F4 Search for a client
  F5 Refresh     F6 Daily / Fixed memo           F7 Book number
  F8 Status list F9 Month list   F10 Year list   F11 Print   F12 Exit
  Ctrl+O opens the page of a date you type, for example 11/11/99.

MEMOS
The daily memo belongs to the day shown; the fixed memo is the same on every day. F6 (or
the memo button) switches between them.

Pages that hold nothing but their template and no memo are removed when you leave the day
page, so an unused day takes no room.
');
COMMIT;
