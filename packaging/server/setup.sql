-- The class journal's tables and roles on a school's PostgreSQL server.
--
-- Run once by an administrator, as a superuser or the database's owner, in the database the
-- class's computers are set to (psql -d reaktikum -f setup.sql). Running it again changes
-- nothing that is already right, so it is also the way to upgrade.
--
-- What it makes:
--   reaktikum.journal            every row the computers send, with who sent it and when
--   reaktikum.journal_conflicts  rows a login sent again under a key it had already used, with
--                                other content: kept here for the teacher instead of dropped
--   reaktikum.sittings           one row per sitting, kept by the server, for the teacher's view
--   reaktikum_computer           group role of the computers' logins: may add rows, nothing else
--   reaktikum_teacher            group role of the teachers' logins: may read everything
--
-- A computer's login can neither read grades nor change, delete or drop anything; the server,
-- not the computer, writes down which login sent a row and when it arrived.

\set ON_ERROR_STOP on
SET client_min_messages = warning;

BEGIN;

-- Two administrators running the script at once take turns.
DO $lock$ BEGIN PERFORM pg_advisory_xact_lock(1380272970); END $lock$;

DO $roles$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'reaktikum_computer') THEN
        CREATE ROLE reaktikum_computer NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'reaktikum_teacher') THEN
        CREATE ROLE reaktikum_teacher NOLOGIN;
    END IF;
END
$roles$;

CREATE SCHEMA IF NOT EXISTS reaktikum;
REVOKE ALL ON SCHEMA reaktikum FROM PUBLIC;

CREATE TABLE IF NOT EXISTS reaktikum.journal (
    id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    -- Set by the server from the login of the connection, whatever the computer sends.
    sender text NOT NULL DEFAULT session_user,
    received_at timestamptz NOT NULL DEFAULT now(),
    computer text NOT NULL,
    journal_id text NOT NULL DEFAULT '',
    local_id integer NOT NULL,
    recorded_at timestamptz NOT NULL,
    sitting text NOT NULL,
    student_group text NOT NULL,
    student_surname text NOT NULL,
    variant integer,
    experiment integer,
    grade real,
    event text NOT NULL,
    evidence text,
    evidence_summary text,
    -- One login's rows never collide with another's.
    CONSTRAINT journal_sender_key UNIQUE (sender, computer, journal_id, local_id)
);
-- A table made by an earlier run of this script, before the evidence was kept.
ALTER TABLE reaktikum.journal ADD COLUMN IF NOT EXISTS evidence text;
ALTER TABLE reaktikum.journal ADD COLUMN IF NOT EXISTS evidence_summary text;

CREATE TABLE IF NOT EXISTS reaktikum.journal_conflicts (
    LIKE reaktikum.journal INCLUDING DEFAULTS INCLUDING IDENTITY,
    -- The stored row this one disagrees with.
    conflicts_with bigint NOT NULL
);
ALTER TABLE reaktikum.journal_conflicts ADD COLUMN IF NOT EXISTS evidence text;
ALTER TABLE reaktikum.journal_conflicts ADD COLUMN IF NOT EXISTS evidence_summary text;

-- Runs for every row a computer sends: the sender and the arrival time are the server's; a row
-- already stored with the same content is skipped (a send repeated after a lost
-- confirmation), one with other content goes to the conflicts table. Either way the computer's
-- insert succeeds, so it never learns whether anything stood under its key.
CREATE OR REPLACE FUNCTION reaktikum.accept_journal_row() RETURNS trigger
    LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS
$accept$
DECLARE
    stored reaktikum.journal%ROWTYPE;
BEGIN
    NEW.sender := session_user;
    NEW.received_at := now();
    SELECT * INTO stored FROM reaktikum.journal j
     WHERE j.sender = NEW.sender AND j.computer = NEW.computer
       AND j.journal_id = NEW.journal_id AND j.local_id = NEW.local_id;
    IF NOT FOUND THEN
        RETURN NEW;
    END IF;
    IF (stored.recorded_at, stored.sitting, stored.student_group, stored.student_surname,
        stored.variant, stored.experiment, stored.grade, stored.event, stored.evidence,
        stored.evidence_summary)
       IS DISTINCT FROM
       (NEW.recorded_at, NEW.sitting, NEW.student_group, NEW.student_surname, NEW.variant,
        NEW.experiment, NEW.grade, NEW.event, NEW.evidence, NEW.evidence_summary) THEN
        INSERT INTO reaktikum.journal_conflicts
            (sender, received_at, computer, journal_id, local_id, recorded_at, sitting,
             student_group, student_surname, variant, experiment, grade, event, evidence,
             evidence_summary, conflicts_with)
        SELECT NEW.sender, NEW.received_at, NEW.computer, NEW.journal_id, NEW.local_id,
               NEW.recorded_at, NEW.sitting, NEW.student_group, NEW.student_surname,
               NEW.variant, NEW.experiment, NEW.grade, NEW.event, NEW.evidence,
               NEW.evidence_summary, stored.id
         WHERE NOT EXISTS (
               SELECT FROM reaktikum.journal_conflicts c
                WHERE c.conflicts_with = stored.id
                  AND (c.sender, c.recorded_at, c.sitting, c.student_group, c.student_surname,
                       c.variant, c.experiment, c.grade, c.event, c.evidence,
                       c.evidence_summary)
                      IS NOT DISTINCT FROM
                      (NEW.sender, NEW.recorded_at, NEW.sitting, NEW.student_group,
                       NEW.student_surname, NEW.variant, NEW.experiment, NEW.grade, NEW.event,
                       NEW.evidence, NEW.evidence_summary));
    END IF;
    RETURN NULL;
END
$accept$;
REVOKE ALL ON FUNCTION reaktikum.accept_journal_row() FROM PUBLIC;

DROP TRIGGER IF EXISTS accept_journal_row ON reaktikum.journal;
CREATE TRIGGER accept_journal_row BEFORE INSERT ON reaktikum.journal
    FOR EACH ROW EXECUTE FUNCTION reaktikum.accept_journal_row();

-- A journal table the program made in the public schema before this script existed: its rows
-- move here, marked as sent by the login that owned that table (every computer used it then),
-- and the old table is renamed to journal_before_setup, to be dropped once checked. A table of
-- the earliest layout has no journal_id: its rows get an empty one.
DO $migrate$
DECLARE
    owner text;
    journal_id_column text := '''''';
BEGIN
    SELECT tableowner INTO owner FROM pg_tables
     WHERE schemaname = 'public' AND tablename = 'journal';
    IF NOT FOUND THEN
        RETURN;
    END IF;
    IF EXISTS (SELECT FROM information_schema.columns
                WHERE table_schema = 'public' AND table_name = 'journal'
                  AND column_name = 'journal_id') THEN
        journal_id_column := 'journal_id';
    END IF;
    ALTER TABLE reaktikum.journal DISABLE TRIGGER accept_journal_row;
    EXECUTE format(
        'INSERT INTO reaktikum.journal (sender, received_at, computer, journal_id, local_id,'
        ' recorded_at, sitting, student_group, student_surname, variant, experiment, grade,'
        ' event) SELECT %L, received_at, computer, %s, local_id, recorded_at, sitting,'
        ' student_group, student_surname, variant, experiment, grade, event'
        ' FROM public.journal ORDER BY id'
        ' ON CONFLICT ON CONSTRAINT journal_sender_key DO NOTHING',
        owner, journal_id_column);
    ALTER TABLE reaktikum.journal ENABLE TRIGGER accept_journal_row;
    ALTER TABLE public.journal RENAME TO journal_before_setup;
    RAISE WARNING 'public.journal moved to reaktikum.journal and renamed journal_before_setup';
END
$migrate$;

-- The teachers' views follow the class: every statement that added rows to the journal
-- notifies the channel reaktikum_journal once, after the rows are in, and a view that listens
-- reads the rows again. Any login that can connect may listen, so the notification carries
-- nothing of the rows: no name, no group, no grade, not even how many.
CREATE OR REPLACE FUNCTION reaktikum.notify_journal_rows() RETURNS trigger
    LANGUAGE plpgsql SET search_path = pg_catalog, pg_temp AS
$notify$
BEGIN
    -- A statement whose rows were all skipped (sent again) added nothing to tell.
    IF EXISTS (SELECT FROM added) THEN
        PERFORM pg_notify('reaktikum_journal', '');
    END IF;
    RETURN NULL;
END
$notify$;
REVOKE ALL ON FUNCTION reaktikum.notify_journal_rows() FROM PUBLIC;

DROP TRIGGER IF EXISTS notify_journal_rows ON reaktikum.journal;
CREATE TRIGGER notify_journal_rows AFTER INSERT ON reaktikum.journal
    REFERENCING NEW TABLE AS added
    FOR EACH STATEMENT EXECUTE FUNCTION reaktikum.notify_journal_rows();
-- The teacher's view over years of lessons: one row per sitting, kept by the server as rows
-- arrive, so that a page of sittings (a group, a computer, a period; newest first) and the
-- choices of the filters come from an index instead of from every row of the journal. Its
-- columns follow how the view summarises a sitting: the group of its earliest row, the time and
-- the computer's id of its latest registration (of its earliest row when it has none).
DO $sittings$
BEGIN
    -- No row may arrive between the fill below and the trigger that keeps the table after it.
    LOCK TABLE reaktikum.journal IN SHARE ROW EXCLUSIVE MODE;
    IF to_regclass('reaktikum.sittings') IS NOT NULL THEN
        RETURN;
    END IF;
    CREATE TABLE reaktikum.sittings (
        computer text NOT NULL,
        sitting text NOT NULL,
        student_group text NOT NULL,
        first_at timestamptz NOT NULL,
        first_row bigint NOT NULL,
        first_local_id integer NOT NULL,
        registered_at timestamptz,
        registration_row bigint,
        registration_local_id integer,
        -- When and under which id the view lists it.
        shown_at timestamptz NOT NULL,
        shown_id integer NOT NULL,
        -- Something happened in it besides a deletion: a sitting only deleted is not listed.
        attended boolean NOT NULL,
        PRIMARY KEY (computer, sitting)
    );
END
$sittings$;

-- What the files and papers show of a sitting, kept beside it so that an export reads one row per
-- sitting: the surname of its earliest row, the variant last chosen, per experiment the last
-- grade and its sentence, and whether it was removed from the results window. "Last" is by the
-- time a row was recorded, then by its arrival, so a row recorded earlier that arrives later
-- changes nothing. A table kept by an earlier run of this script gets the columns here, and is
-- filled from the journal below.
DO $summary$
BEGIN
    IF EXISTS (SELECT FROM information_schema.columns
                WHERE table_schema = 'reaktikum' AND table_name = 'sittings'
                  AND column_name = 'surname') THEN
        RETURN;
    END IF;
    ALTER TABLE reaktikum.sittings
        ADD COLUMN surname text NOT NULL DEFAULT '',
        ADD COLUMN variant integer,
        ADD COLUMN variant_at timestamptz,
        ADD COLUMN variant_row bigint,
        -- Indexed by experiment 1..4; NULL where it has no grade.
        ADD COLUMN grades real[] NOT NULL DEFAULT '{NULL,NULL,NULL,NULL}',
        ADD COLUMN summaries text[] NOT NULL DEFAULT '{NULL,NULL,NULL,NULL}',
        ADD COLUMN graded_at timestamptz[] NOT NULL DEFAULT '{NULL,NULL,NULL,NULL}',
        ADD COLUMN graded_rows bigint[] NOT NULL DEFAULT '{NULL,NULL,NULL,NULL}',
        ADD COLUMN deleted boolean NOT NULL DEFAULT false;
    PERFORM set_config('reaktikum.summaries_missing', 'yes', true);
END
$summary$;

-- Every sitting of the journal as the trigger below keeps it, made from all the rows at once;
-- needed only while this script runs.
CREATE OR REPLACE FUNCTION reaktikum.summarise_sittings() RETURNS SETOF reaktikum.sittings
    LANGUAGE sql STABLE SET search_path = pg_catalog, pg_temp AS
$summarise$
SELECT f.computer, f.sitting, f.student_group, f.recorded_at, f.id, f.local_id,
       r.recorded_at, r.id, r.local_id, coalesce(r.recorded_at, f.recorded_at),
       coalesce(r.local_id, f.local_id), a.sitting IS NOT NULL,
       f.student_surname, v.variant, v.recorded_at, v.id,
       coalesce(g.grades, '{NULL,NULL,NULL,NULL}'), coalesce(g.summaries, '{NULL,NULL,NULL,NULL}'),
       coalesce(g.graded_at, '{NULL,NULL,NULL,NULL}'),
       coalesce(g.graded_rows, '{NULL,NULL,NULL,NULL}'), d.sitting IS NOT NULL
  FROM (SELECT DISTINCT ON (computer, sitting) computer, sitting, student_group,
               student_surname, recorded_at, id, local_id
          FROM reaktikum.journal ORDER BY computer, sitting, recorded_at, id) f
  LEFT JOIN (SELECT DISTINCT ON (computer, sitting) computer, sitting, recorded_at, id, local_id
               FROM reaktikum.journal WHERE event = 'registered'
              ORDER BY computer, sitting, recorded_at DESC, id DESC) r
         USING (computer, sitting)
  LEFT JOIN (SELECT DISTINCT computer, sitting FROM reaktikum.journal
              WHERE event NOT IN ('deleted', 'deleted_all')) a
         USING (computer, sitting)
  LEFT JOIN (SELECT DISTINCT ON (computer, sitting) computer, sitting, variant, recorded_at, id
               FROM reaktikum.journal WHERE variant > 0
              ORDER BY computer, sitting, recorded_at DESC, id DESC) v
         USING (computer, sitting)
  LEFT JOIN (SELECT computer, sitting,
                    array[max(grade) FILTER (WHERE experiment = 1),
                          max(grade) FILTER (WHERE experiment = 2),
                          max(grade) FILTER (WHERE experiment = 3),
                          max(grade) FILTER (WHERE experiment = 4)] AS grades,
                    array[max(summary) FILTER (WHERE experiment = 1),
                          max(summary) FILTER (WHERE experiment = 2),
                          max(summary) FILTER (WHERE experiment = 3),
                          max(summary) FILTER (WHERE experiment = 4)] AS summaries,
                    array[max(recorded_at) FILTER (WHERE experiment = 1),
                          max(recorded_at) FILTER (WHERE experiment = 2),
                          max(recorded_at) FILTER (WHERE experiment = 3),
                          max(recorded_at) FILTER (WHERE experiment = 4)] AS graded_at,
                    array[max(id) FILTER (WHERE experiment = 1),
                          max(id) FILTER (WHERE experiment = 2),
                          max(id) FILTER (WHERE experiment = 3),
                          max(id) FILTER (WHERE experiment = 4)] AS graded_rows
               -- One row per experiment: its last grade.
               FROM (SELECT DISTINCT ON (computer, sitting, experiment) computer, sitting,
                            experiment, grade, coalesce(evidence_summary, '') AS summary,
                            recorded_at, id
                       FROM reaktikum.journal
                      WHERE event = 'graded' AND experiment BETWEEN 1 AND 4
                        AND grade IS NOT NULL
                      ORDER BY computer, sitting, experiment, recorded_at DESC, id DESC) last
              GROUP BY computer, sitting) g
         USING (computer, sitting)
  LEFT JOIN (SELECT DISTINCT computer, sitting FROM reaktikum.journal
              WHERE event IN ('deleted', 'deleted_all')) d
         USING (computer, sitting)
$summarise$;

-- A table made just now is filled from the journal; one kept by an earlier run without the
-- summaries is made again from it. Both under the lock taken above, in the order the sittings
-- happened: an export's read of a period then finds its sittings side by side, as it does when
-- the trigger below adds them as a class's rows arrive.
DO $fill$
BEGIN
    IF EXISTS (SELECT FROM reaktikum.sittings)
       AND current_setting('reaktikum.summaries_missing', true) IS DISTINCT FROM 'yes' THEN
        RETURN;
    END IF;
    TRUNCATE reaktikum.sittings;
    INSERT INTO reaktikum.sittings
    SELECT * FROM reaktikum.summarise_sittings() ORDER BY shown_at, shown_id, computer, sitting;
END
$fill$;
DROP FUNCTION reaktikum.summarise_sittings();

CREATE OR REPLACE FUNCTION reaktikum.keep_sitting() RETURNS trigger
    LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS
$keep$
DECLARE
    s reaktikum.sittings%ROWTYPE;
    k integer := NEW.experiment;
BEGIN
    INSERT INTO reaktikum.sittings (computer, sitting, student_group, first_at, first_row,
                                    first_local_id, shown_at, shown_id, attended, surname)
    VALUES (NEW.computer, NEW.sitting, NEW.student_group, NEW.recorded_at, NEW.id,
            NEW.local_id, NEW.recorded_at, NEW.local_id, false, NEW.student_surname)
    ON CONFLICT DO NOTHING;
    SELECT * INTO s FROM reaktikum.sittings
     WHERE computer = NEW.computer AND sitting = NEW.sitting FOR UPDATE;
    IF (NEW.recorded_at, NEW.id) < (s.first_at, s.first_row) THEN
        s.first_at := NEW.recorded_at;
        s.first_row := NEW.id;
        s.first_local_id := NEW.local_id;
        s.student_group := NEW.student_group;
        s.surname := NEW.student_surname;
    END IF;
    -- The latest registration counts, as it does in the view.
    IF NEW.event = 'registered' AND (s.registered_at IS NULL
           OR (NEW.recorded_at, NEW.id) >= (s.registered_at, s.registration_row)) THEN
        s.registered_at := NEW.recorded_at;
        s.registration_row := NEW.id;
        s.registration_local_id := NEW.local_id;
    END IF;
    s.attended := s.attended OR NEW.event NOT IN ('deleted', 'deleted_all');
    s.deleted := s.deleted OR NEW.event IN ('deleted', 'deleted_all');
    IF NEW.variant > 0 AND (s.variant_at IS NULL
           OR (NEW.recorded_at, NEW.id) > (s.variant_at, s.variant_row)) THEN
        s.variant := NEW.variant;
        s.variant_at := NEW.recorded_at;
        s.variant_row := NEW.id;
    END IF;
    IF NEW.event = 'graded' AND k BETWEEN 1 AND 4 AND NEW.grade IS NOT NULL
       AND (s.graded_at[k] IS NULL
            OR (NEW.recorded_at, NEW.id) > (s.graded_at[k], s.graded_rows[k])) THEN
        s.grades[k] := NEW.grade;
        s.summaries[k] := coalesce(NEW.evidence_summary, '');
        s.graded_at[k] := NEW.recorded_at;
        s.graded_rows[k] := NEW.id;
    END IF;
    UPDATE reaktikum.sittings
       SET student_group = s.student_group, first_at = s.first_at, first_row = s.first_row,
           first_local_id = s.first_local_id, registered_at = s.registered_at,
           registration_row = s.registration_row,
           registration_local_id = s.registration_local_id,
           shown_at = coalesce(s.registered_at, s.first_at),
           shown_id = coalesce(s.registration_local_id, s.first_local_id),
           attended = s.attended, surname = s.surname, variant = s.variant,
           variant_at = s.variant_at, variant_row = s.variant_row, grades = s.grades,
           summaries = s.summaries, graded_at = s.graded_at, graded_rows = s.graded_rows,
           deleted = s.deleted
     WHERE computer = NEW.computer AND sitting = NEW.sitting;
    RETURN NULL;
END
$keep$;
REVOKE ALL ON FUNCTION reaktikum.keep_sitting() FROM PUBLIC;

DROP TRIGGER IF EXISTS keep_sitting ON reaktikum.journal;
CREATE TRIGGER keep_sitting AFTER INSERT ON reaktikum.journal
    FOR EACH ROW EXECUTE FUNCTION reaktikum.keep_sitting();

-- The indexes the view's queries use: a page of a group, of a computer or of everything, newest
-- first; the rows of the sittings on a page; the lists of groups and computers of the filters.
CREATE INDEX IF NOT EXISTS sittings_by_group
    ON reaktikum.sittings (student_group, shown_at, shown_id, computer, sitting) WHERE attended;
CREATE INDEX IF NOT EXISTS sittings_by_computer
    ON reaktikum.sittings (computer, shown_at, shown_id, sitting) WHERE attended;
CREATE INDEX IF NOT EXISTS sittings_by_time
    ON reaktikum.sittings (shown_at, shown_id, computer, sitting) WHERE attended;
CREATE INDEX IF NOT EXISTS journal_by_sitting ON reaktikum.journal (sitting, computer);
ANALYZE reaktikum.sittings;

-- Privileges are set from scratch on every run, so a grant added by hand is taken back.
REVOKE ALL ON ALL TABLES IN SCHEMA reaktikum FROM PUBLIC, reaktikum_computer, reaktikum_teacher;
REVOKE ALL ON ALL SEQUENCES IN SCHEMA reaktikum FROM PUBLIC, reaktikum_computer, reaktikum_teacher;

GRANT USAGE ON SCHEMA reaktikum TO reaktikum_computer, reaktikum_teacher;
-- Delivery needs no SELECT: the server itself skips a row it already holds. The columns the
-- server fills in (id, sender, received_at) cannot be sent at all.
GRANT INSERT (computer, journal_id, local_id, recorded_at, sitting, student_group,
              student_surname, variant, experiment, grade, event, evidence, evidence_summary)
    ON reaktikum.journal TO reaktikum_computer;
GRANT SELECT ON reaktikum.journal, reaktikum.journal_conflicts, reaktikum.sittings
    TO reaktikum_teacher;

COMMIT;
