-- Closed months and the change history of pay data.
--
-- For the plant's database administrator: run once, as the owner of the schema
-- accounts_dep (or a superuser), after the first import of the earlier database:
--
--   psql -d vorn_erp -v ON_ERROR_STOP=1 -f month-lock-and-audit.sql
--
-- Running it again changes nothing. It creates:
--   * accounts_dep.closed_month: the months whose pay went out;
--   * accounts_dep.close_month(year, month) and accounts_dep.open_month(year, month),
--     which only members of the role tabel_month_closer (and the owner) may call;
--   * triggers that refuse every insert, update and delete of journal records
--     (accounts_dep.smena), timesheet rows (accounts_dep.h_tabel) and household works
--     (accounts_dep.fatigue) dated in a closed month, whoever sends them: Tabel, the ERP,
--     psql. Updates that touch only the ERP's document links of a journal record pass;
--   * the change history: accounts_dep.smena_audit, norm_audit, oper_audit and
--     fatigue_audit, written by triggers for every insert, update and delete, with the
--     time, the database user who logged in, the program and workstation that wrote
--     (application_name) and the row before and after. Nobody but the owner can write or
--     delete history rows; users read them through accounts_dep.record_history and
--     accounts_dep.changes.
--
-- Grant the month closing to the people who may close months:
--   grant tabel_month_closer to ivanova;

begin;
-- A second run finds everything in place; its "already exists" notices say nothing new.
set local client_min_messages = warning;

-- Concurrent runs of the script (or a role created by hand earlier) must not fail here.
do $$
begin
    create role tabel_month_closer nologin;
exception when duplicate_object or unique_violation then
    null;
end
$$;

create table if not exists accounts_dep.closed_month (
    year      integer     not null,
    month     integer     not null check (month between 1 and 12),
    closed_by text        not null default session_user,
    closed_at timestamptz not null default now(),
    primary key (year, month)
);
comment on table accounts_dep.closed_month is
    'Months whose pay went out: their journal, timesheet and household works are read-only.';
-- Every workstation shows which months are closed.
grant select on accounts_dep.closed_month to public;

-- The Russian name of a month, as the refusal names it ("ноябрь").
create or replace function accounts_dep.month_name(month integer) returns text
language sql immutable as $$
    select (array['январь', 'февраль', 'март', 'апрель', 'май', 'июнь', 'июль', 'август',
                  'сентябрь', 'октябрь', 'ноябрь', 'декабрь'])[month]
$$;

create or replace function accounts_dep.close_month(year integer, month integer) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    if month not between 1 and 12 then
        raise exception 'Нет месяца с номером %', month using errcode = 'TB002';
    end if;
    insert into accounts_dep.closed_month (year, month, closed_by)
    values (close_month.year, close_month.month, session_user)
    on conflict do nothing;
end
$$;

create or replace function accounts_dep.open_month(year integer, month integer) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    delete from accounts_dep.closed_month c where c.year = open_month.year and c.month = open_month.month;
end
$$;

revoke all on function accounts_dep.close_month(integer, integer) from public;
revoke all on function accounts_dep.open_month(integer, integer) from public;
grant execute on function accounts_dep.close_month(integer, integer) to tabel_month_closer;
grant execute on function accounts_dep.open_month(integer, integer) to tabel_month_closer;

-- Refuses a write dated in a closed month. SQLSTATE TB001 tells the program that the
-- refusal is this one; the message is shown to users as it stands.
-- Both functions run with the writer's rights (everyone may read closed_month) and name
-- every table with its schema: they run once per written row, and a function with its
-- own rights and search path costs several times as much per call.
create or replace function accounts_dep.refuse_if_closed(year integer, month integer) returns void
language plpgsql stable as $$
declare
    closed accounts_dep.closed_month;
begin
    select * into closed from accounts_dep.closed_month c
     where c.year = refuse_if_closed.year and c.month = refuse_if_closed.month;
    if found then
        raise exception 'Месяц % % закрыт (закрыл %, %). Исправления вносятся в открытом месяце.',
            accounts_dep.month_name(month), year, closed.closed_by, to_char(closed.closed_at, 'DD.MM.YYYY')
            using errcode = 'TB001';
    end if;
end
$$;

-- The row's month is read from its own columns: smena's date, h_tabel's and fatigue's
-- month and year; an update is checked at its old and its new month.
create or replace function accounts_dep.refuse_in_closed_month() returns trigger
language plpgsql as $$
declare
    erp_links constant text[] := array['id_doc', 'id_doc_item', 'f_gds_qty_use', 'id_gds_use', 'id_cons_use'];
begin
    if tg_table_name = 'smena' then
        -- The ERP links its documents to journal records of any month.
        if tg_op = 'UPDATE' and to_jsonb(old) - erp_links = to_jsonb(new) - erp_links then
            return new;
        end if;
        if tg_op <> 'INSERT' and old.data is not null then
            perform accounts_dep.refuse_if_closed(extract(year from old.data)::integer, extract(month from old.data)::integer);
        end if;
        if tg_op <> 'DELETE' and new.data is not null then
            perform accounts_dep.refuse_if_closed(extract(year from new.data)::integer, extract(month from new.data)::integer);
        end if;
    elsif tg_table_name = 'h_tabel' then
        if tg_op <> 'INSERT' then
            perform accounts_dep.refuse_if_closed(old.year::integer, old.month::integer);
        end if;
        if tg_op <> 'DELETE' then
            perform accounts_dep.refuse_if_closed(new.year::integer, new.month::integer);
        end if;
    elsif tg_table_name = 'fatigue' then
        if tg_op <> 'INSERT' then
            perform accounts_dep.refuse_if_closed(old.i_year::integer, old.i_mnth::integer);
        end if;
        if tg_op <> 'DELETE' then
            perform accounts_dep.refuse_if_closed(new.i_year::integer, new.i_mnth::integer);
        end if;
    end if;
    return case tg_op when 'DELETE' then old else new end;
end
$$;

-- The change history, one table per audited table.
do $$
declare
    audited text;
begin
    foreach audited in array array['smena', 'norm', 'oper', 'fatigue'] loop
        execute format($f$
            create table if not exists accounts_dep.%1$I (
                id               bigserial   primary key,
                changed_at       timestamptz not null default clock_timestamp(),
                db_user          text        not null default session_user,
                application_name text        not null default current_setting('application_name'),
                action           text        not null check (action in ('INSERT', 'UPDATE', 'DELETE')),
                record_id        bigint,
                old_row          jsonb,
                new_row          jsonb
            )$f$, audited || '_audit');
        execute format('create index if not exists %I on accounts_dep.%I (record_id, id)',
                       audited || '_audit_record', audited || '_audit');
        execute format('create index if not exists %I on accounts_dep.%I (changed_at)',
                       audited || '_audit_changed_at', audited || '_audit');
        -- Only the owner (through the trigger) writes history; users read it through the
        -- functions below.
        execute format('revoke all on accounts_dep.%I from public', audited || '_audit');
        execute format('revoke all on sequence accounts_dep.%I from public', audited || '_audit_id_seq');
    end loop;
end
$$;

create or replace function accounts_dep.write_audit() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
declare
    before_row jsonb := case when tg_op <> 'INSERT' then to_jsonb(old) end;
    after_row  jsonb := case when tg_op <> 'DELETE' then to_jsonb(new) end;
begin
    if before_row is not distinct from after_row then
        return null;  -- an update that changed nothing
    end if;
    execute format('insert into accounts_dep.%I (action, record_id, old_row, new_row) values ($1, $2, $3, $4)',
                   tg_table_name || '_audit')
        using tg_op, (coalesce(after_row, before_row)->>'id')::bigint, before_row, after_row;
    return null;
end
$$;

-- A trigger is created once; a second run finds it and leaves it alone.
do $$
declare
    locked text;
    audited text;
begin
    foreach locked in array array['smena', 'h_tabel', 'fatigue'] loop
        if not exists (select 1 from pg_trigger
                        where tgrelid = ('accounts_dep.' || locked)::regclass and tgname = 'closed_month_lock') then
            execute format('create trigger closed_month_lock before insert or update or delete on accounts_dep.%I '
                           'for each row execute function accounts_dep.refuse_in_closed_month()', locked);
        end if;
    end loop;
    foreach audited in array array['smena', 'norm', 'oper', 'fatigue'] loop
        if not exists (select 1 from pg_trigger
                        where tgrelid = ('accounts_dep.' || audited)::regclass and tgname = 'change_history') then
            execute format('create trigger change_history after insert or update or delete on accounts_dep.%I '
                           'for each row execute function accounts_dep.write_audit()', audited);
        end if;
    end loop;
end
$$;

-- One record's history, oldest first: table 'smena', 'norm', 'oper' or 'fatigue'.
create or replace function accounts_dep.record_history(audited text, id bigint)
returns table (changed_at timestamptz, db_user text, application_name text, action text,
               old_row jsonb, new_row jsonb)
language plpgsql stable security definer set search_path = pg_catalog, pg_temp as $$
begin
    if audited not in ('smena', 'norm', 'oper', 'fatigue') then
        raise exception 'Нет истории изменений таблицы %', audited using errcode = 'TB003';
    end if;
    return query execute format(
        'select changed_at, db_user, application_name, action, old_row, new_row from accounts_dep.%I '
        'where record_id = $1 order by id', audited || '_audit') using id;
end
$$;

-- The changes of a period (from inclusive, to exclusive) in all four tables, in order.
create or replace function accounts_dep.changes(date_from date, date_to date)
returns table (audited text, record_id bigint, changed_at timestamptz, db_user text,
               application_name text, action text, old_row jsonb, new_row jsonb)
language sql stable security definer set search_path = pg_catalog, pg_temp as $$
    select * from (
        select 'smena'::text, a.record_id, a.changed_at, a.db_user, a.application_name, a.action, a.old_row, a.new_row
          from accounts_dep.smena_audit a where a.changed_at >= date_from and a.changed_at < date_to
        union all
        select 'norm', a.record_id, a.changed_at, a.db_user, a.application_name, a.action, a.old_row, a.new_row
          from accounts_dep.norm_audit a where a.changed_at >= date_from and a.changed_at < date_to
        union all
        select 'oper', a.record_id, a.changed_at, a.db_user, a.application_name, a.action, a.old_row, a.new_row
          from accounts_dep.oper_audit a where a.changed_at >= date_from and a.changed_at < date_to
        union all
        select 'fatigue', a.record_id, a.changed_at, a.db_user, a.application_name, a.action, a.old_row, a.new_row
          from accounts_dep.fatigue_audit a where a.changed_at >= date_from and a.changed_at < date_to
    ) c order by 3
$$;

grant execute on function accounts_dep.record_history(text, bigint) to public;
grant execute on function accounts_dep.changes(date, date) to public;

commit;
