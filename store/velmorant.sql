-- The Velmorant database: the five reference tables in their traditional order, and the empty table
-- of stored charts. The program reads every table by row position in the order the rows were added,
-- so the order of the inserts below is the order of the rows. velmorant-initdb and the tests both
-- build their databases from this file, and add the table of birth data, which the program also makes
-- in an older file the first time it has birth data to keep (store/BirthData.h).

create table tithi (id integer primary key, tithi_name text not null);
create table rashi (id integer primary key, rashi_name text not null);
create table nakshatra (id integer primary key, nak_name text not null);
create table yoga (id integer primary key, name text not null, lord text not null, deity text not null);
create table karana (id integer primary key, name text not null);

-- Stored charts. Signs are list positions 1 (Aries) to 12 (Pisces); degrees and minutes are the texts
-- of the chosen entries. The column order is fixed: the program reads the positions by ordinal.
create table Int_Velmorant (
    id integer primary key,
    name text,
    sunsign integer, sundeg text, sunmin text,
    monsign integer, mondeg text, monmin text,
    aksign integer, akdeg text, akmin text,
    amksign integer, amkdeg text, amkmin text
);
-- Finding a chart by name (to rename, delete or import it) stays quick at any size. The list of names
-- is read in table order all the same.
create index Int_Velmorant_name on Int_Velmorant (name);

-- Tithis: thirty lunar days, 12 degrees of elongation each, waxing (Shukla) then waning (Krishna).
insert into tithi (tithi_name) values
    ('Shukla Pratipada'),
    ('Shukla Dwitiya'),
    ('Shukla Tritiya'),
    ('Shukla Chaturthi'),
    ('Shukla Panchami'),
    ('Shukla Shashthi'),
    ('Shukla Saptami'),
    ('Shukla Ashtami'),
    ('Shukla Navami'),
    ('Shukla Dashami'),
    ('Shukla Ekadashi'),
    ('Shukla Dwadashi'),
    ('Shukla Trayodashi'),
    ('Shukla Chaturdashi'),
    ('Purnima'),
    ('Krishna Pratipada'),
    ('Krishna Dwitiya'),
    ('Krishna Tritiya'),
    ('Krishna Chaturthi'),
    ('Krishna Panchami'),
    ('Krishna Shashthi'),
    ('Krishna Saptami'),
    ('Krishna Ashtami'),
    ('Krishna Navami'),
    ('Krishna Dashami'),
    ('Krishna Ekadashi'),
    ('Krishna Dwadashi'),
    ('Krishna Trayodashi'),
    ('Krishna Chaturdashi'),
    ('Amavasya');

-- Rashis: the twelve sidereal signs from Aries.
insert into rashi (rashi_name) values
    ('Mesha'),
    ('Vrishabha'),
    ('Mithuna'),
    ('Karka'),
    ('Simha'),
    ('Kanya'),
    ('Tula'),
    ('Vrishchika'),
    ('Dhanu'),
    ('Makara'),
    ('Kumbha'),
    ('Mina');

-- Nakshatras: twenty-seven lunar mansions of 13 degrees 20 minutes from 0 degrees Aries.
insert into nakshatra (nak_name) values
    ('Ashwini'),
    ('Bharani'),
    ('Krittika'),
    ('Rohini'),
    ('Mrigashira'),
    ('Ardra'),
    ('Punarvasu'),
    ('Pushya'),
    ('Ashlesha'),
    ('Magha'),
    ('Purva Phalguni'),
    ('Uttara Phalguni'),
    ('Hasta'),
    ('Chitra'),
    ('Swati'),
    ('Vishakha'),
    ('Anuradha'),
    ('Jyeshtha'),
    ('Mula'),
    ('Purva Ashadha'),
    ('Uttara Ashadha'),
    ('Shravana'),
    ('Dhanishtha'),
    ('Shatabhisha'),
    ('Purva Bhadrapada'),
    ('Uttara Bhadrapada'),
    ('Revati');

-- Yogas: 13 degrees 20 minutes of the sum of the two longitudes each; the lord is the ruler of the
-- nakshatra 93 degrees 20 minutes beyond the yoga point (Saturn, Mercury, Ketu, Venus, Sun, Moon, Mars,
-- Rahu, Jupiter, three times over).
insert into yoga (name, lord, deity) values
    ('Vishkumbha', 'Saturn', 'Yama'),
    ('Priti', 'Mercury', 'Vishnu'),
    ('Ayushman', 'Ketu', 'Chandra'),
    ('Saubhagya', 'Venus', 'Brahma'),
    ('Shobhana', 'Sun', 'Brihaspati'),
    ('Atiganda', 'Moon', 'Chandra'),
    ('Sukarma', 'Mars', 'Indra'),
    ('Dhriti', 'Rahu', 'Jala'),
    ('Shula', 'Jupiter', 'Sarpa'),
    ('Ganda', 'Saturn', 'Agni'),
    ('Vriddhi', 'Mercury', 'Surya'),
    ('Dhruva', 'Ketu', 'Bhumi'),
    ('Vyaghata', 'Venus', 'Vayu'),
    ('Harshana', 'Sun', 'Bhaga'),
    ('Vajra', 'Moon', 'Varuna'),
    ('Siddhi', 'Mars', 'Ganesha'),
    ('Vyatipata', 'Rahu', 'Rudra'),
    ('Variyan', 'Jupiter', 'Kubera'),
    ('Parigha', 'Saturn', 'Vishvakarma'),
    ('Shiva', 'Mercury', 'Mitra'),
    ('Siddha', 'Ketu', 'Kartikeya'),
    ('Sadhya', 'Venus', 'Savitri'),
    ('Shubha', 'Sun', 'Lakshmi'),
    ('Shukla', 'Moon', 'Parvati'),
    ('Brahma', 'Mars', 'Ashvini Kumaras'),
    ('Indra', 'Rahu', 'Pitris'),
    ('Vaidhriti', 'Jupiter', 'Diti');

-- Karanas: half-tithis of 6 degrees. The fixed Kimstughna opens the month, the seven movable karanas
-- run eight times, and the fixed Shakuni, Chatushpada and Naga close it.
insert into karana (name) values
    ('Kimstughna'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Bava'),
    ('Balava'),
    ('Kaulava'),
    ('Taitila'),
    ('Gara'),
    ('Vanija'),
    ('Vishti'),
    ('Shakuni'),
    ('Chatushpada'),
    ('Naga');
