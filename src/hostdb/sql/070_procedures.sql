-- Procedures that derive FW3C_LISTACFREVOCATI, the customers and suppliers
-- a principal may not use, from FW32_RVKCLIFOR. A customer or supplier is on
-- a principal's list when, in its company and for its type, a revocation row
-- of that principal with FW32_FLGABILITATO = 0 covers one of its branches:
-- its macro area, area or zone; its macro category, category or
-- sub-category; one of its three groupings; its company site (site rows have
-- type -1 and cover customers and suppliers alike). With revocation switched
-- off (FW95_SETTINGS 'AUT_RVKENABLED' not '1') every list is empty.
-- Each procedure replaces the rows it owns in one statement pair.

CREATE PROCEDURE SPFW_ReloadListaCFRevocati
AS
BEGIN
    DELETE FROM FW3C_LISTACFREVOCATI;
    INSERT INTO FW3C_LISTACFREVOCATI
        (FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR)
    SELECT X.ID_FW07, X.ID_FW06, X.DITTA, X.TIPOCF, X.CODCLIFOR
      FROM (
            -- macro area, area or zone (a blank lower level covers all below it)
            SELECT R.FW32_ID_FW07 AS ID_FW07, R.FW32_ID_FW06 AS ID_FW06,
                   C.CG44_DITTA_CG18 AS DITTA, C.CG44_TIPOCF AS TIPOCF, C.CG44_CODCLIFOR AS CODCLIFOR
              FROM FW32_RVKCLIFOR R
             INNER JOIN CG44_CLIFOR C
                ON C.CG44_DITTA_CG18 = R.FW32_DITTA AND C.CG44_TIPOCF = R.FW32_TIPOCF
               AND C.CG44_MACROAREA_MG07 = R.FW32_CODMACRO
             WHERE (R.FW32_ID_FW07 IS NOT NULL OR R.FW32_ID_FW06 IS NOT NULL)
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
             WHERE (R.FW32_ID_FW07 IS NOT NULL OR R.FW32_ID_FW06 IS NOT NULL)
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
             WHERE (R.FW32_ID_FW07 IS NOT NULL OR R.FW32_ID_FW06 IS NOT NULL)
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
             WHERE (R.FW32_ID_FW07 IS NOT NULL OR R.FW32_ID_FW06 IS NOT NULL)
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
             WHERE (R.FW32_ID_FW07 IS NOT NULL OR R.FW32_ID_FW06 IS NOT NULL)
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
             WHERE (R.FW32_ID_FW07 IS NOT NULL OR R.FW32_ID_FW06 IS NOT NULL)
               AND R.FW32_FLGABILITATO = 0
               AND R.FW32_TIPORAGG = 'SEDE'
           ) X
     WHERE EXISTS (SELECT 1 FROM FW95_SETTINGS
                    WHERE FW95_CODICE = 'AUT_RVKENABLED' AND FW95_VALORE = '1');
END
GO

CREATE PROCEDURE SPFW_ReloadListaCFRevocatiUtente
    @idutente INT
AS
BEGIN
    DELETE FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = @idutente AND FW3C_ID_FW06 IS NULL;
    INSERT INTO FW3C_LISTACFREVOCATI
        (FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR)
    SELECT X.ID_FW07, X.ID_FW06, X.DITTA, X.TIPOCF, X.CODCLIFOR
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
                    WHERE FW95_CODICE = 'AUT_RVKENABLED' AND FW95_VALORE = '1');
END
GO

CREATE PROCEDURE SPFW_ReloadListaCFRevocatiGruppo
    @idgruppo INT
AS
BEGIN
    DELETE FROM FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW06 = @idgruppo AND FW3C_ID_FW07 IS NULL;
    INSERT INTO FW3C_LISTACFREVOCATI
        (FW3C_ID_FW07, FW3C_ID_FW06, FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR)
    SELECT X.ID_FW07, X.ID_FW06, X.DITTA, X.TIPOCF, X.CODCLIFOR
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
                    WHERE FW95_CODICE = 'AUT_RVKENABLED' AND FW95_VALORE = '1');
END
GO
