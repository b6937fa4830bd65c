-- Group roles for per-person login to Tabel.
--
-- For the plant's database administrator: run as the owner of the schema accounts_dep
-- (or a superuser):
--
--   psql -d vorn_erp -v ON_ERROR_STOP=1 -f roles.sql
--
-- Running it again changes nothing; after an update of the program run it again, it
-- sets each group's privileges anew. It creates four group roles (no login of their own)
-- with the least privileges the program's windows need under each role:
--
--   tabel_reports    reads everything; writes only the version stamp and household works
--   tabel_foreman    as tabel_reports, and adds journal records with their timesheet hours
--   tabel_warehouse  as tabel_reports, and switches the acceptance mark of journal records
--   tabel_full       everything the program does: journal, timesheet, reference data,
--                    items in the ERP catalogue, the legacy import
--
-- Household works ("Хоз. работы") are open to every role in the program, so every group
-- writes them. When the program finds these groups in the database, its login window asks
-- for the person's user name and password instead of an access code, and the person's
-- group decides the role.
--
-- One login role per person, member of exactly one group:
--
--   create role ivanova login password 'her own password';
--   grant tabel_foreman to ivanova;
--
-- (or without a password where the server trusts the operating-system login, e.g.
-- GSSAPI or peer in pg_hba.conf). The program writes no password anywhere.
--
-- Closing months (month-lock-and-audit.sql) is a separate right: tabel_full does not
-- include it; grant tabel_month_closer to the persons who may close months, whatever
-- their group.

begin;
set local client_min_messages = warning;

-- Concurrent runs of the script, or groups created by hand earlier, must not fail here.
do $$
declare
    role_name text;
begin
    foreach role_name in array array['tabel_reports', 'tabel_foreman', 'tabel_warehouse', 'tabel_full'] loop
        begin
            execute format('create role %I nologin', role_name);
        exception when duplicate_object or unique_violation then
            null;
        end;
    end loop;
end
$$;

-- Each group's privileges are set anew, so that a second run leaves exactly what this
-- script grants. What every role reads: the pay office's tables and the ERP's persons,
-- departments, staff positions, roles, classifier and goods.
do $$
declare
    role_name text;
begin
    foreach role_name in array array['tabel_reports', 'tabel_foreman', 'tabel_warehouse', 'tabel_full'] loop
        execute format('revoke all on all tables in schema accounts_dep, cmn_contractor, cmn_classifier, '
                       'cmn_gds_and_srv, cmn_department, hrms_staffpos, adm_role from %I', role_name);
        execute format('revoke all on all sequences in schema accounts_dep, cmn_gds_and_srv from %I', role_name);
        execute format('grant usage on schema accounts_dep, cmn_contractor, cmn_classifier, cmn_gds_and_srv, '
                       'cmn_department, hrms_staffpos, adm_role to %I', role_name);
        execute format('grant select on accounts_dep.smena, accounts_dep.h_tabel, accounts_dep.fatigue, '
                       'accounts_dep.person, accounts_dep.izdel, accounts_dep.oper, accounts_dep.norm, '
                       'accounts_dep.vid_oper, accounts_dep.ver, accounts_dep.workers, accounts_dep.nomenkl, '
                       'cmn_contractor.person, cmn_classifier.item, cmn_gds_and_srv.gds_and_srv, '
                       'cmn_department.department, hrms_staffpos.staffpos, adm_role.roles to %I', role_name);
        -- The version check raises the stored build stamp (inserting it into an empty table).
        execute format('grant insert (d, t), update (d, t) on accounts_dep.ver to %I', role_name);
        -- Household works are open to every role.
        execute format('grant insert, update, delete on accounts_dep.fatigue to %I', role_name);
        execute format('grant usage on sequence accounts_dep.fatigue_id_seq to %I', role_name);
    end loop;
end
$$;

-- The foreman adds journal records and brings their hours into the timesheet.
grant insert on accounts_dep.smena to tabel_foreman;
grant usage on sequence accounts_dep.smena_id_seq to tabel_foreman;
grant insert, update on accounts_dep.h_tabel to tabel_foreman;
grant usage on sequence accounts_dep.h_tabel_id_seq to tabel_foreman;
-- A record is saved holding its worker, item and operation against deletion (a row lock,
-- "for key share"), which PostgreSQL allows only with the update privilege on some column
-- of the table. The columns granted are the ones a change of which harms least: none is a
-- key, none enters pay. The program never writes them under this role.
grant update (s_staffpos_hl) on accounts_dep.person to tabel_foreman;
grant update (cena_new) on accounts_dep.oper to tabel_foreman;
grant update (s_description) on cmn_gds_and_srv.gds_and_srv to tabel_foreman;

-- The warehouse switches acceptance marks and nothing else of a record.
grant update (ok) on accounts_dep.smena to tabel_warehouse;

-- Full access: the journal, the timesheet and its rebuild, the reference data, the items
-- (the ERP catalogue's goods, written directly and through the view accounts_dep.izdel)
-- and the legacy import, which also moves the tables' key generators.
grant insert, update, delete on accounts_dep.smena, accounts_dep.h_tabel, accounts_dep.person,
    accounts_dep.izdel, accounts_dep.oper, accounts_dep.norm, accounts_dep.vid_oper,
    accounts_dep.workers, accounts_dep.nomenkl, cmn_gds_and_srv.gds_and_srv to tabel_full;
grant usage, select, update on sequence accounts_dep.smena_id_seq, accounts_dep.h_tabel_id_seq,
    accounts_dep.person_id_seq, accounts_dep.oper_id_seq, accounts_dep.norm_id_seq,
    accounts_dep.vid_oper_id_seq, accounts_dep.nomenkl_id_seq, cmn_gds_and_srv.gds_and_srv_id_seq to tabel_full;

-- The import stages the earlier tables in temporary tables of its own session.
do $$
begin
    execute format('grant temporary on database %I to tabel_full', current_database());
end
$$;

-- A worker saved in the pay office's register becomes an ERP person through this trigger;
-- nobody of the pay office writes ERP persons directly, so the trigger writes them with its
-- owner's rights.
alter function accounts_dep.person_to_erp() security definer set search_path = pg_catalog, pg_temp;
revoke all on function accounts_dep.person_to_erp() from public;

commit;
