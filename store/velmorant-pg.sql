-- The Velmorant database on a PostgreSQL server that several desks share: the five reference tables,
-- the stored charts and their birth data. velmorant-initdb runs this in one transaction in an empty
-- database, then copies the reference rows from velmorant.sql, so that they are written in one place
-- only. Names are left unquoted: any client may write them in any case.

create table tithi (id integer primary key, tithi_name text not null);
create table rashi (id integer primary key, rashi_name text not null);
create table nakshatra (id integer primary key, nak_name text not null);
create table yoga (id integer primary key, name text not null, lord text not null, deity text not null);
create table karana (id integer primary key, name text not null);

-- Stored charts, in the column order of the file's table: the program reads the positions by ordinal.
-- The key only grows, so that the charts list in the order they were stored. A name is stored once:
-- the constraint holds against desks saving at the same moment, and, kept over a hash of the name,
-- for a name of any length (a btree entry must fit in a third of a page).
create table Int_Velmorant (
    id bigint generated always as identity primary key,
    name text,
    sunsign smallint, sundeg text, sunmin text,
    monsign smallint, mondeg text, monmin text,
    aksign smallint, akdeg text, akmin text,
    amksign smallint, amkdeg text, amkmin text,
    constraint Int_Velmorant_name_once exclude using hash (name with =)
);

-- The birth data of a chart, which goes with it.
create table birth_data (
    chart bigint primary key references Int_Velmorant (id) on delete cascade,
    birth_date text not null, birth_time text not null, birth_zone text not null, ayanamsa text not null,
    karakas integer not null, node text not null, place text, latitude text, longitude text
);

-- Every change to the stored charts, from this program or any other client, tells the listening desks
-- once its transaction commits; a desk reads its list of names again.
create function velmorant_charts_changed() returns trigger language plpgsql as $$
begin
    perform pg_notify('velmorant_charts', '');
    return null;
end
$$;
create trigger Int_Velmorant_changed after insert or update or delete or truncate on Int_Velmorant
    for each statement execute function velmorant_charts_changed();
