-- The relations of the plant's ERP database that the pay office client works with.
-- The client creates nothing itself: this file builds a test or demo database
-- whose server-side definitions make the joins the client relies on hold.

SET client_min_messages = warning;

-- Domains the client casts person codes to in its joins.
CREATE DOMAIN public.t_id AS numeric(15, 0);
CREATE DOMAIN public.t_integer AS integer;

CREATE SCHEMA cmn_contractor;
CREATE SCHEMA cmn_classifier;
CREATE SCHEMA cmn_gds_and_srv;
CREATE SCHEMA cmn_department;
CREATE SCHEMA hrms_staffpos;
CREATE SCHEMA adm_role;
CREATE SCHEMA accounts_dep;

-- ERP persons. Their keys live in a range of their own so that a worker key never
-- meets a person key by accident (the journal joins on either).
CREATE SEQUENCE cmn_contractor.person_id_seq START 1000001;
CREATE TABLE cmn_contractor.person (
    id        public.t_id PRIMARY KEY DEFAULT nextval('cmn_contractor.person_id_seq'),
    s_caption varchar(254),
    s_code    varchar(254)
);
-- The journal finds a worker's person by the code as well as by the key; without this
-- index every person is compared with every record of the day.
CREATE INDEX person_s_code_t_id ON cmn_contractor.person ((s_code::public.t_id));

CREATE TABLE cmn_classifier.item (
    id              numeric(15, 0) PRIMARY KEY,
    id_classifier   numeric(15, 0),
    id_level        numeric(15, 0),
    id_parent       numeric(15, 0),
    s_code          varchar(254),
    s_caption       varchar(254),
    s_description   varchar(4000),
    b_excluded      varchar(5),
    d_excluded_date date
);

CREATE SEQUENCE cmn_gds_and_srv.gds_and_srv_id_seq;
CREATE TABLE cmn_gds_and_srv.gds_and_srv (
    id            numeric(15, 0) PRIMARY KEY DEFAULT nextval('cmn_gds_and_srv.gds_and_srv_id_seq'),
    s_caption     varchar(254),
    s_description varchar(4000),
    id_msm_bs     numeric(15, 0),
    massa         numeric(28, 6),
    id_class_item numeric(15, 0)
);

CREATE TABLE cmn_department.department (
    id            numeric(15, 0) PRIMARY KEY,
    id_branch     numeric(15, 0),
    id_parent     numeric(15, 0),
    s_code        varchar(254),
    s_caption     varchar(254),
    s_description varchar(4000)
);

CREATE TABLE hrms_staffpos.staffpos (
    id            numeric(15, 0) PRIMARY KEY,
    id_department numeric(15, 0),
    s_code        varchar(254),
    s_caption     varchar(254),
    d_begin       date,
    d_end         date,
    s_description varchar(4000)
);

CREATE TABLE adm_role.roles (
    id        numeric(15, 0) PRIMARY KEY,
    s_name    varchar(30),
    s_caption varchar(254),
    d_begin   date,
    d_end     date,
    b_active  varchar(5)
);

-- The workers register. Every worker gets an ERP person whose code is the worker key,
-- so the journal, the timesheet and the reports find the worker's name.
CREATE TABLE accounts_dep.person (
    id            serial PRIMARY KEY,
    fio           varchar(254),
    s_staffpos_hl varchar(254)
);

CREATE FUNCTION accounts_dep.person_to_erp() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP = 'INSERT' THEN
        INSERT INTO cmn_contractor.person (s_caption, s_code) VALUES (NEW.fio, NEW.id::text);
    ELSE
        UPDATE cmn_contractor.person SET s_caption = NEW.fio, s_code = NEW.id::text
         WHERE s_code = OLD.id::text;
    END IF;
    RETURN NEW;
END $$;

CREATE TRIGGER person_to_erp AFTER INSERT OR UPDATE ON accounts_dep.person
    FOR EACH ROW EXECUTE FUNCTION accounts_dep.person_to_erp();

-- Items are goods of the ERP catalogue, named by their classifier entry.
CREATE VIEW accounts_dep.izdel AS
SELECT g.id::numeric(15, 0)         AS id,
       g.s_caption::varchar(254)    AS marka,
       c.s_caption::varchar(255)    AS nom,
       g.massa::numeric(28, 6)      AS massa,
       g.id_class_item              AS id_class_item
  FROM cmn_gds_and_srv.gds_and_srv g
  LEFT JOIN cmn_classifier.item c ON c.id = g.id_class_item;

-- The classifier entry of a nomenclature group's caption. A caption the classifier does
-- not hold is refused by name: the item must not lose its group without a word.
CREATE FUNCTION accounts_dep.izdel_class_item(caption varchar) RETURNS numeric LANGUAGE plpgsql AS $$
DECLARE
    entry numeric;
BEGIN
    IF caption IS NULL OR btrim(caption) = '' THEN
        RETURN NULL;
    END IF;
    SELECT c.id INTO entry FROM cmn_classifier.item c
     WHERE c.id_level = 2 AND c.s_caption = caption ORDER BY c.id LIMIT 1;
    IF entry IS NULL THEN
        RAISE EXCEPTION 'Группы изделий «%» нет в классификаторе', caption USING ERRCODE = 'foreign_key_violation';
    END IF;
    RETURN entry;
END $$;

-- The legacy import writes items straight into the view.
CREATE FUNCTION accounts_dep.izdel_write() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP = 'INSERT' THEN
        -- An item written with its nomenclature group's caption gets that classifier entry.
        INSERT INTO cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, id_class_item)
        VALUES (COALESCE(NEW.id, nextval('cmn_gds_and_srv.gds_and_srv_id_seq')), NEW.marka, '', 6,
                NEW.massa, COALESCE(NEW.id_class_item, accounts_dep.izdel_class_item(NEW.nom)));
        RETURN NEW;
    ELSIF TG_OP = 'UPDATE' THEN
        -- A group changed by its caption alone moves the item to that classifier entry.
        IF NEW.nom IS DISTINCT FROM OLD.nom AND NEW.id_class_item IS NOT DISTINCT FROM OLD.id_class_item THEN
            NEW.id_class_item := accounts_dep.izdel_class_item(NEW.nom);
        END IF;
        UPDATE cmn_gds_and_srv.gds_and_srv
           SET id = NEW.id, s_caption = NEW.marka, massa = NEW.massa, id_class_item = NEW.id_class_item
         WHERE id = OLD.id;
        RETURN NEW;
    ELSE
        DELETE FROM cmn_gds_and_srv.gds_and_srv WHERE id = OLD.id;
        RETURN OLD;
    END IF;
END $$;

CREATE TRIGGER izdel_write INSTEAD OF INSERT OR UPDATE OR DELETE ON accounts_dep.izdel
    FOR EACH ROW EXECUTE FUNCTION accounts_dep.izdel_write();
-- Item keys come from the goods' generator, which the import moves past the keys it copies.
ALTER VIEW accounts_dep.izdel ALTER COLUMN id SET DEFAULT nextval('cmn_gds_and_srv.gds_and_srv_id_seq');

CREATE TABLE accounts_dep.vid_oper (
    id  serial PRIMARY KEY,
    vid char(128)
);

CREATE TABLE accounts_dep.oper (
    id       serial PRIMARY KEY,
    vid      integer,
    naimen   smallint,
    i_id     integer,
    cena_new numeric(15, 4),
    cena     numeric(15, 4)
);

CREATE TABLE accounts_dep.norm (
    id    serial PRIMARY KEY,
    o_id  integer,
    norma integer,
    price double precision,
    prize integer
);
CREATE INDEX norm_o_id ON accounts_dep.norm (o_id);

CREATE TABLE accounts_dep.smena (
    id            serial PRIMARY KEY,
    w_id          integer,
    i_id          integer,
    o_id          integer,
    cena          double precision,
    kol_vo        integer,
    brak          smallint,
    data          date,
    smena         smallint,
    color         integer,
    time          integer,
    ok            varchar(2),
    vvod          timestamp,
    prize         double precision,
    id_doc        numeric(15, 0),
    id_doc_item   numeric(15, 0),
    f_gds_qty_use double precision,
    id_gds_use    numeric(15, 0),
    id_cons_use   numeric(15, 0)
);
CREATE INDEX smena_data ON accounts_dep.smena (data, smena);
-- No two records of one worker, item, operation, date, shift and colour (they would be
-- paid twice): the program checks before it writes, and this index refuses a duplicate
-- that any other writer sends at the same moment.
CREATE UNIQUE INDEX smena_unique_record ON accounts_dep.smena (w_id, i_id, o_id, data, smena, color);
CREATE INDEX smena_w_id ON accounts_dep.smena (w_id, data);

-- The monthly hours timesheet; the timesheet query groups by id, so it is the key.
CREATE TABLE accounts_dep.h_tabel (
    id    serial PRIMARY KEY,
    w_id  integer,
    smena smallint,
    month smallint,
    year  smallint,
    d1 smallint, d2 smallint, d3 smallint, d4 smallint, d5 smallint, d6 smallint, d7 smallint,
    d8 smallint, d9 smallint, d10 smallint, d11 smallint, d12 smallint, d13 smallint, d14 smallint,
    d15 smallint, d16 smallint, d17 smallint, d18 smallint, d19 smallint, d20 smallint, d21 smallint,
    d22 smallint, d23 smallint, d24 smallint, d25 smallint, d26 smallint, d27 smallint, d28 smallint,
    d29 smallint, d30 smallint, d31 smallint
);
CREATE INDEX h_tabel_key ON accounts_dep.h_tabel (w_id, smena, month, year);
CREATE INDEX h_tabel_month ON accounts_dep.h_tabel (year, month);

CREATE TABLE accounts_dep.fatigue (
    id      serial PRIMARY KEY,
    id_nom  numeric(15, 0),
    id_o    numeric(15, 0),
    id_p    numeric(15, 0),
    d_date  date,
    i_mnth  integer,
    i_year  integer,
    i_smena integer,
    cnt     integer,
    price   numeric(15, 4)
);

-- The version stamp of the newest build that has run; the client reads the first row.
CREATE TABLE accounts_dep.ver (
    d     integer,
    t     integer,
    delim varchar(255)
);

-- Lists of the earlier data, written only by the legacy import.
CREATE TABLE accounts_dep.workers (
    id   integer,
    fio  char(128),
    addr char(128)
);

CREATE TABLE accounts_dep.nomenkl (
    id    serial PRIMARY KEY,
    nom   varchar(512),
    marka char(128)
);
