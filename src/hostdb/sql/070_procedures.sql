-- Procedures that derive FW3C_LISTACFREVOCATI, the customers and suppliers
-- a principal may not use, from FW32_RVKCLIFOR. A customer or supplier is on
-- a principal's list when, in its company and for its type, a revocation row
-- of that principal with FW32_FLGABILITATO = 0 covers one of its branches:
-- its macro area, area or zone; its macro category, category or
-- sub-category; one of its three groupings; its company site (site rows have
-- type -1 and cover customers and suppliers alike). With revocation switched
-- off (FW95_SETTINGS 'AUT_RVKENABLED' not '1') every list is empty.
--
-- Each procedure brings the list up to date with one MERGE, a single
-- statement: readers never see a list half rebuilt, and rows that stay are
-- not rewritten.

CREATE PROCEDURE SPFW_ReloadListaCFRevocati
AS
BEGIN
    MERGE FW3C_LISTACFREVOCATI AS target
    USING (
            SELECT X.ID_FW07, X.ID_FW06, X.DITTA, X.TIPOCF, X.CODCLIFOR
              FROM (
                    -- macro area, area or zone (a blank lower level covers all below it)
                    SELECT R.FW32_ID_FW07 AS ID_FW07, R.FW32_ID_FW06 AS ID_FW06,
                           C.CG44_DITTA_CG18 AS DITTA, C.CG44_TIPOCF AS TIPOCF, C.CG44_CODCLIFOR AS CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_MACROAREA_MG07 = R.FW32_CODMACRO
                     WHERE R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'AREA'
                       AND (RTRIM(LTRIM(R.FW32_CODMIDDLE)) = '' OR C.CG44_AREA_MG08 = R.FW32_CODMIDDLE)
                       AND (RTRIM(LTRIM(R.FW32_CODRAGG)) = '' OR C.CG44_ZONA_MG09 = R.FW32_CODRAGG)
                    UNION
                    -- macro category, category or sub-category
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_MACROCAT_MG10 = R.FW32_CODMACRO
                     WHERE R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'CAT'
                       AND (RTRIM(LTRIM(R.FW32_CODMIDDLE)) = '' OR C.CG44_CATEG_MG11 = R.FW32_CODMIDDLE)
                       AND (RTRIM(LTRIM(R.FW32_CODRAGG)) = '' OR C.CG44_SOTTCAT_MG12 = R.FW32_CODRAGG)
                    UNION
                    -- grouping 1
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF1_MG31 = R.FW32_CODRAGG
                     WHERE R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG1'
                    UNION
                    -- grouping 2
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF2_MG32 = R.FW32_CODRAGG
                     WHERE R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG2'
                    UNION
                    -- grouping 3
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF3_MG33 = R.FW32_CODRAGG
                     WHERE R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG3'
                    UNION
                    -- company site (site rows carry type -1 and cover both types)
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND R.FW32_TIPOCF = -1
                       AND C.CG44_SEDE_CG31 = R.FW32_CODRAGG
                     WHERE R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'SEDE'
                   ) X
             WHERE EXISTS (SELECT 1 FROM FW95_SETTINGS
                            WHERE FW95_CODICE = 'AUT_RVKENABLED' AND FW95_VALORE = '1')
          ) AS source (ID_FW07, ID_FW06, DITTA, TIPOCF, CODCLIFOR)
       -- Identifiers start at 1: 0 stands for the empty principal column.
       ON (    ISNULL(target.FW3C_ID_FW07, 0) = ISNULL(source.ID_FW07, 0)
           AND ISNULL(target.FW3C_ID_FW06, 0) = ISNULL(source.ID_FW06, 0)
           AND target.FW3C_DITTA_CG18 = source.DITTA
           AND target.FW3C_TIPOCF = source.TIPOCF
           AND target.FW3C_CODCLIFOR = source.CODCLIFOR)
     WHEN NOT MATCHED BY SOURCE
          THEN DELETE
     WHEN NOT MATCHED BY TARGET
          THEN INSERT (FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR)
               VALUES (source.ID_FW07, source.ID_FW06, source.DITTA, source.TIPOCF,
                       source.CODCLIFOR);
END
GO

CREATE PROCEDURE SPFW_ReloadListaCFRevocatiUtente
    @idutente INT
AS
BEGIN
    MERGE FW3C_LISTACFREVOCATI AS target
    USING (
            SELECT X.DITTA, X.TIPOCF, X.CODCLIFOR
              FROM (
                    -- macro area, area or zone (a blank lower level covers all below it)
                    SELECT R.FW32_ID_FW07 AS ID_FW07, R.FW32_ID_FW06 AS ID_FW06,
                           C.CG44_DITTA_CG18 AS DITTA, C.CG44_TIPOCF AS TIPOCF, C.CG44_CODCLIFOR AS CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_MACROAREA_MG07 = R.FW32_CODMACRO
                     WHERE R.FW32_ID_FW07 = @idutente AND R.FW32_ID_FW06 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'AREA'
                       AND (RTRIM(LTRIM(R.FW32_CODMIDDLE)) = '' OR C.CG44_AREA_MG08 = R.FW32_CODMIDDLE)
                       AND (RTRIM(LTRIM(R.FW32_CODRAGG)) = '' OR C.CG44_ZONA_MG09 = R.FW32_CODRAGG)
                    UNION
                    -- macro category, category or sub-category
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_MACROCAT_MG10 = R.FW32_CODMACRO
                     WHERE R.FW32_ID_FW07 = @idutente AND R.FW32_ID_FW06 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'CAT'
                       AND (RTRIM(LTRIM(R.FW32_CODMIDDLE)) = '' OR C.CG44_CATEG_MG11 = R.FW32_CODMIDDLE)
                       AND (RTRIM(LTRIM(R.FW32_CODRAGG)) = '' OR C.CG44_SOTTCAT_MG12 = R.FW32_CODRAGG)
                    UNION
                    -- grouping 1
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF1_MG31 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW07 = @idutente AND R.FW32_ID_FW06 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG1'
                    UNION
                    -- grouping 2
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF2_MG32 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW07 = @idutente AND R.FW32_ID_FW06 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG2'
                    UNION
                    -- grouping 3
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF3_MG33 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW07 = @idutente AND R.FW32_ID_FW06 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG3'
                    UNION
                    -- company site (site rows carry type -1 and cover both types)
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND R.FW32_TIPOCF = -1
                       AND C.CG44_SEDE_CG31 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW07 = @idutente AND R.FW32_ID_FW06 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'SEDE'
                   ) X
             WHERE EXISTS (SELECT 1 FROM FW95_SETTINGS
                            WHERE FW95_CODICE = 'AUT_RVKENABLED' AND FW95_VALORE = '1')
          ) AS source (DITTA, TIPOCF, CODCLIFOR)
       ON (    target.FW3C_ID_FW07 = @idutente AND target.FW3C_ID_FW06 IS NULL
           AND target.FW3C_DITTA_CG18 = source.DITTA
           AND target.FW3C_TIPOCF = source.TIPOCF
           AND target.FW3C_CODCLIFOR = source.CODCLIFOR)
     WHEN NOT MATCHED BY SOURCE
          AND target.FW3C_ID_FW07 = @idutente AND target.FW3C_ID_FW06 IS NULL
          THEN DELETE
     WHEN NOT MATCHED BY TARGET
          THEN INSERT (FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR)
               VALUES (@idutente, NULL, source.DITTA, source.TIPOCF, source.CODCLIFOR);
END
GO

CREATE PROCEDURE SPFW_ReloadListaCFRevocatiGruppo
    @idgruppo INT
AS
BEGIN
    MERGE FW3C_LISTACFREVOCATI AS target
    USING (
            SELECT X.DITTA, X.TIPOCF, X.CODCLIFOR
              FROM (
                    -- macro area, area or zone (a blank lower level covers all below it)
                    SELECT R.FW32_ID_FW07 AS ID_FW07, R.FW32_ID_FW06 AS ID_FW06,
                           C.CG44_DITTA_CG18 AS DITTA, C.CG44_TIPOCF AS TIPOCF, C.CG44_CODCLIFOR AS CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_MACROAREA_MG07 = R.FW32_CODMACRO
                     WHERE R.FW32_ID_FW06 = @idgruppo AND R.FW32_ID_FW07 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'AREA'
                       AND (RTRIM(LTRIM(R.FW32_CODMIDDLE)) = '' OR C.CG44_AREA_MG08 = R.FW32_CODMIDDLE)
                       AND (RTRIM(LTRIM(R.FW32_CODRAGG)) = '' OR C.CG44_ZONA_MG09 = R.FW32_CODRAGG)
                    UNION
                    -- macro category, category or sub-category
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_MACROCAT_MG10 = R.FW32_CODMACRO
                     WHERE R.FW32_ID_FW06 = @idgruppo AND R.FW32_ID_FW07 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'CAT'
                       AND (RTRIM(LTRIM(R.FW32_CODMIDDLE)) = '' OR C.CG44_CATEG_MG11 = R.FW32_CODMIDDLE)
                       AND (RTRIM(LTRIM(R.FW32_CODRAGG)) = '' OR C.CG44_SOTTCAT_MG12 = R.FW32_CODRAGG)
                    UNION
                    -- grouping 1
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF1_MG31 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW06 = @idgruppo AND R.FW32_ID_FW07 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG1'
                    UNION
                    -- grouping 2
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF2_MG32 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW06 = @idgruppo AND R.FW32_ID_FW07 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG2'
                    UNION
                    -- grouping 3
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
                       AND C.CG44_CODRAGGRCF3_MG33 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW06 = @idgruppo AND R.FW32_ID_FW07 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'RAGG3'
                    UNION
                    -- company site (site rows carry type -1 and cover both types)
                    SELECT R.FW32_ID_FW07, R.FW32_ID_FW06,
                           C.CG44_DITTA_CG18, C.CG44_TIPOCF, C.CG44_CODCLIFOR
                      FROM FW32_RVKCLIFOR R
                     INNER JOIN CG44_CLIFOR C
                        ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND R.FW32_TIPOCF = -1
                       AND C.CG44_SEDE_CG31 = R.FW32_CODRAGG
                     WHERE R.FW32_ID_FW06 = @idgruppo AND R.FW32_ID_FW07 IS NULL
                       AND R.FW32_FLGABILITATO = 0
                       AND R.FW32_TIPORAGG = 'SEDE'
                   ) X
             WHERE EXISTS (SELECT 1 FROM FW95_SETTINGS
                            WHERE FW95_CODICE = 'AUT_RVKENABLED' AND FW95_VALORE = '1')
          ) AS source (DITTA, TIPOCF, CODCLIFOR)
       ON (    target.FW3C_ID_FW06 = @idgruppo AND target.FW3C_ID_FW07 IS NULL
           AND target.FW3C_DITTA_CG18 = source.DITTA
           AND target.FW3C_TIPOCF = source.TIPOCF
           AND target.FW3C_CODCLIFOR = source.CODCLIFOR)
     WHEN NOT MATCHED BY SOURCE
          AND target.FW3C_ID_FW06 = @idgruppo AND target.FW3C_ID_FW07 IS NULL
          THEN DELETE
     WHEN NOT MATCHED BY TARGET
          THEN INSERT (FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR)
               VALUES (NULL, @idgruppo, source.DITTA, source.TIPOCF, source.CODCLIFOR);
END
GO
