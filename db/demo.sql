-- A small, plausible plant for the demo: departments, positions and roles of the ERP,
-- 40 workers, 30 items and one of household works, 10 operation kinds, operations with
-- norms, four weeks of the journal around today with its timesheet, and household works.
-- Everything is dated relative to today, so the demo always has a current journal.

SET client_min_messages = warning;

INSERT INTO cmn_department.department (id, s_code, s_caption)
SELECT n, 'D' || n, caption
  FROM unnest(ARRAY['Сборочный цех', 'Малярный цех', 'Заготовительный участок', 'Столярный цех',
                    'Участок упаковки', 'Ремонтная служба']) WITH ORDINALITY AS t(caption, n);

INSERT INTO hrms_staffpos.staffpos (id, id_department, s_code, s_caption, d_begin)
SELECT n, 1 + (n - 1) % 6, 'P' || n, caption, date '2010-01-01'
  FROM unnest(ARRAY['Сборщик', 'Маляр', 'Станочник', 'Столяр', 'Упаковщик', 'Слесарь-ремонтник',
                    'Мастер участка']) WITH ORDINALITY AS t(caption, n);

INSERT INTO adm_role.roles (id, s_name, s_caption, d_begin, b_active)
SELECT n, 'role' || n, caption, date '2010-01-01', 'true'
  FROM unnest(ARRAY['Рабочий', 'Бригадир', 'Кладовщик', 'Бухгалтер']) WITH ORDINALITY AS t(caption, n);

-- Workers: the ERP person of each is made by the register's trigger.
INSERT INTO accounts_dep.person (fio, s_staffpos_hl)
SELECT s.surname || ' ' || s.initials,
       (SELECT s_caption FROM cmn_department.department WHERE id = 1 + (s.n - 1) % 6)
  FROM (SELECT n,
               (ARRAY['Иванов', 'Петров', 'Сидоров', 'Кузнецов', 'Смирнов', 'Попов', 'Васильев', 'Соколов',
                      'Михайлов', 'Новиков', 'Фёдоров', 'Морозов', 'Волков', 'Алексеев', 'Лебедев', 'Семёнов',
                      'Егоров', 'Павлов', 'Козлов', 'Степанов'])[1 + (n - 1) % 20]
                   || CASE WHEN n > 20 THEN 'а' ELSE '' END AS surname,
               (ARRAY['А.А.', 'Б.В.', 'В.Г.', 'Г.Д.', 'Д.Е.', 'Е.Ж.', 'И.К.', 'К.Л.', 'Л.М.', 'М.Н.'])[1 + (n * 7) % 10]
                   AS initials
          FROM generate_series(1, 40) AS n) s
 ORDER BY s.n;

-- Nomenclature groups of the classifier (level 2 under one root).
INSERT INTO cmn_classifier.item (id, id_classifier, id_level, id_parent, s_code, s_caption, b_excluded)
VALUES (1, 1, 1, NULL, 'ROOT', 'Продукция', 'false');
INSERT INTO cmn_classifier.item (id, id_classifier, id_level, id_parent, s_code, s_caption, b_excluded)
SELECT 1 + n, 1, 2, 1, 'G' || n, caption, 'false'
  FROM unnest(ARRAY['Столы', 'Стулья', 'Шкафы', 'Стеллажи', 'Тумбы', 'Хозяйственные работы'])
       WITH ORDINALITY AS t(caption, n);

-- Items: 30 brands over the first five groups.
INSERT INTO cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, id_class_item)
SELECT (ARRAY['Стол', 'Стул', 'Шкаф', 'Стеллаж', 'Тумба'])[1 + (n - 1) % 5] || ' '
           || (ARRAY['СТ', 'СЛ', 'ШК', 'СЖ', 'ТБ'])[1 + (n - 1) % 5] || '-' || (100 + n),
       '', 6, round((5 + (n * 13) % 40 + 0.25)::numeric, 6), 2 + (n - 1) % 5
  FROM generate_series(1, 30) AS n;

-- Operation kinds; 7777 and 7778 are the household works.
INSERT INTO accounts_dep.vid_oper (id, vid)
SELECT n, caption
  FROM unnest(ARRAY['Раскрой', 'Фрезеровка', 'Шлифовка', 'Сборка', 'Покраска (КРАСКА)', 'Грунтовка (КРАСКА)',
                    'Упаковка', 'Контроль']) WITH ORDINALITY AS t(caption, n);
INSERT INTO accounts_dep.vid_oper (id, vid) VALUES (7777, 'Хоз. работы (почасовые)'), (7778, 'Хоз. работы (средняя сдельная)');
DO $$ BEGIN PERFORM setval('accounts_dep.vid_oper_id_seq', 8); END $$;

-- Operations: every item has four kinds of work, finished goods and some blanks.
INSERT INTO accounts_dep.oper (vid, naimen, i_id, cena_new)
SELECT k.kind, CASE WHEN k.kind IN (1, 2) THEN 1 ELSE 0 END, g.id, 0
  FROM cmn_gds_and_srv.gds_and_srv g
 CROSS JOIN LATERAL (SELECT 1 + ((g.id::int + s) % 8) AS kind FROM generate_series(0, 3) AS s) k;

-- The household works: an item of their own (key 7777 or more, as the household journal
-- asks) with an operation of each household kind.
INSERT INTO cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, id_class_item)
VALUES (7777, 'Хозяйственные работы', '', 6, 0, 7);
INSERT INTO accounts_dep.oper (vid, naimen, i_id, cena_new) VALUES (7777, 0, 7777, 0), (7778, 0, 7777, 0);

-- Norms: two rows per operation, the smaller norm the dearer.
INSERT INTO accounts_dep.norm (o_id, norma, price, prize)
SELECT o.id, norma.n, round((8 + (o.id * 7) % 30 + CASE WHEN norma.n = 50 THEN 2.5 ELSE 0 END)::numeric, 2)::float8, 10
  FROM accounts_dep.oper o
 CROSS JOIN (VALUES (50), (100)) AS norma(n)
 WHERE o.vid < 7777;
-- The hourly prices of the household works.
INSERT INTO accounts_dep.norm (o_id, norma, price, prize)
SELECT id, 1, CASE vid WHEN 7777 THEN 150 ELSE 175 END, 0 FROM accounts_dep.oper WHERE vid >= 7777;
UPDATE accounts_dep.oper o SET cena_new = (SELECT min(price) FROM accounts_dep.norm n WHERE n.o_id = o.id);

-- The journal: four weeks before today and three days after; on working days most workers
-- have one or two records in their usual shift, some a record of overtime.
INSERT INTO accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod,
                                prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
SELECT w.id, o.i_id, o.id,
       round((nm.price * CASE WHEN w.shift = 3 THEN 1.2 WHEN w.shift = 4 THEN 1.5 ELSE 1 END)::numeric, 4)::float8,
       -- d.n runs below zero and % keeps the sign: the remainders are taken as 0 or more.
       5 + ((w.id * 3 + d.n) % 20 + 20) % 20,
       CASE WHEN (w.id + d.n) % 9 = 0 THEN 1 ELSE 0 END,
       d.day, w.shift,
       CASE WHEN upper(v.vid) LIKE '%КРАСКА%' THEN (ARRAY[1, 9003, 7035, 5015])[1 + ((w.id + d.n) % 4 + 4) % 4] ELSE 0 END,
       CASE WHEN w.shift = 4 THEN 3 WHEN r.k = 1 THEN 8 ELSE 4 END,
       CASE WHEN d.day < current_date - 3 THEN 'ok' WHEN (w.id + r.k) % 2 = 0 THEN 'ok' ELSE 'no' END,
       d.day, 0, 0, 0, 0, 0, 0
  FROM (SELECT n, current_date + n AS day FROM generate_series(-28, 3) AS n) d
 CROSS JOIN LATERAL (
        SELECT p.id, CASE WHEN (p.id + d.n) % 11 = 0 THEN 4 ELSE 1 + p.id % 3 END AS shift
          FROM accounts_dep.person p
         WHERE (p.id + d.n) % 7 <> 0) w
 CROSS JOIN LATERAL (SELECT k FROM generate_series(1, 1 + (w.id + d.n) % 2) AS k) r
 CROSS JOIN LATERAL (
        SELECT id, i_id, vid FROM accounts_dep.oper
         WHERE vid < 7777
         ORDER BY id OFFSET ((w.id * 5 + d.n * 3 + r.k * 17) % 120 + 120) % 120 LIMIT 1) o
  JOIN accounts_dep.vid_oper v ON v.id = o.vid
 CROSS JOIN LATERAL (SELECT min(price) AS price FROM accounts_dep.norm WHERE o_id = o.id) nm
 WHERE extract(isodow FROM d.day) < 6 OR (w.id % 5 = 0 AND w.shift <> 4);

-- A day off paid double: weekend records carry twice the price.
UPDATE accounts_dep.smena SET cena = cena * 2 WHERE extract(isodow FROM data) >= 6;

-- The timesheet: each worker's hours per shift and day, as the journal keeps it.
INSERT INTO accounts_dep.h_tabel (w_id, smena, month, year)
SELECT DISTINCT w_id, smena, extract(month FROM data), extract(year FROM data) FROM accounts_dep.smena;

DO $$
DECLARE
    cell record;
BEGIN
    FOR cell IN
        SELECT w_id, smena, data, sum(time) AS tim FROM accounts_dep.smena GROUP BY w_id, smena, data
    LOOP
        EXECUTE format('UPDATE accounts_dep.h_tabel SET d%s = $1 WHERE w_id = $2 AND smena = $3 AND month = $4 AND year = $5',
                       extract(day FROM cell.data))
          USING cell.tim, cell.w_id, cell.smena, extract(month FROM cell.data), extract(year FROM cell.data);
    END LOOP;
END $$;

-- The version stamp: any build is newer; numbers go to the server with a full stop.
INSERT INTO accounts_dep.ver (d, t, delim) VALUES (0, 0, '.');

-- Household works of the last two weeks, at the hourly price of their kind.
INSERT INTO accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price)
SELECT 7, k.kind, p.id, current_date - n,
       extract(month FROM current_date - n), extract(year FROM current_date - n), 1, 2 + n % 5,
       (SELECT min(nm.price) FROM accounts_dep.norm nm JOIN accounts_dep.oper o ON o.id = nm.o_id WHERE o.vid = k.kind)
  FROM generate_series(0, 13) AS n
 CROSS JOIN LATERAL (SELECT CASE WHEN n % 3 = 0 THEN 7778 ELSE 7777 END AS kind) k
  JOIN accounts_dep.person p ON p.id = 1 + (n * 7) % 40
 WHERE extract(isodow FROM current_date - n) < 6;
