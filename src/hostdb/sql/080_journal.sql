-- The journal of the revocation editor: one entry per gesture that wrote
-- (a click, a header or origin toggle, an enable/disable all, a copy, a
-- profile import, the master switch, an undo, a redo, a revert), and the
-- images of the rows it changed. Written in the same transaction as the
-- gesture; nobody updates an entry but its state (FW3J_STATO).

CREATE TABLE FW3J_GIORNALEREVOKE (
    FW3J_ID          INT IDENTITY(1,1) NOT NULL,
    FW3J_DATAORA     DATETIME      NOT NULL,
    FW3J_LOGIN       VARCHAR(50)   NULL,
    FW3J_DITTA       INT           NOT NULL,
    FW3J_SEZIONE     INT           NOT NULL,
    FW3J_TIPOPRINC   VARCHAR(10)   NOT NULL,
    FW3J_CODPRINC    INT           NOT NULL,
    FW3J_GESTO       VARCHAR(20)   NOT NULL,
    FW3J_DESCR       VARCHAR(4000) NOT NULL,
    FW3J_ID_ANNULLA  INT           NULL,
    FW3J_ID_RIPETE   INT           NULL,
    FW3J_STATO       SMALLINT      NOT NULL DEFAULT 0,
    FW3J_NUMRIGHE    INT           NOT NULL DEFAULT 0,
    CONSTRAINT PK_FW3J_GIORNALEREVOKE PRIMARY KEY (FW3J_ID),
    CONSTRAINT CK_FW3J_STATO CHECK (FW3J_STATO IN (0, 1))
)
GO
CREATE INDEX IX_FW3J_PRINCIPALE ON FW3J_GIORNALEREVOKE (FW3J_TIPOPRINC, FW3J_CODPRINC, FW3J_ID)
GO
CREATE INDEX IX_FW3J_DATAORA ON FW3J_GIORNALEREVOKE (FW3J_DATAORA)
GO

-- The images of the rows an entry changed, one table's at a time, many rows
-- to a row of this table: FW3K_IMMAGINI holds one line per changed row,
-- "key<TAB>before<TAB>after" ('\A' for an absent row).
CREATE TABLE FW3K_IMMAGINIREVOKE (
    FW3K_ID_FW3J   INT          NOT NULL,
    FW3K_PROG      INT          NOT NULL,
    FW3K_TABELLA   VARCHAR(30)  NOT NULL,
    FW3K_NUMRIGHE  INT          NOT NULL,
    FW3K_IMMAGINI  VARCHAR(MAX) NOT NULL,
    CONSTRAINT PK_FW3K_IMMAGINIREVOKE PRIMARY KEY (FW3K_ID_FW3J, FW3K_PROG)
)
GO
