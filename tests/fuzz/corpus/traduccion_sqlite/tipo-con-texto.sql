CREATE TABLE [dbo].[TA_CCOSTO] (
 [Codigo] varchar(4) NOT NULL PRIMARY KEY CLUSTERED,
 Descripcion nvarchar(6].[TA_CCOSTO] (
 [Codigo] varchar(4) NOT NULL PRIMARY KEY CLUSTERED,
 Descripcion nvarchar(60) COLLATE Modern_Spanish_CI_A# NULL,
 Id int IDENTITY(1,1),
 Importe money DEFAULT 0)
GO
ALTER TABLE TA_CSELECTCOSTO ADD Nota ΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛÿΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛAΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛ0) COLLATE Modern_Spanish_CI_A# NULL,
 Id int IDENTITY(1,1),
 Importe money DEFAULT 0)
GO
ALTER TABLE TA_CCOSTO ADD Nota ΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛ TOP 1000 CodiboMA_CUμNTAS] wISNTΉ³Χ»escrip-cion,'')ooooooooooIKE Nÿίÿÿÿÿÿ AND La%' AND LΉN(EN(Codigo) > 1 ORDER BY Codigo+go, Descripcion FROM dboMA_CUμNTAS] wISNTΉ³Χ»escrip-cion,'')oooooΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛoooooIKE Nÿίÿÿÿÿÿ ANDΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛΛtext NULL;
CREATE VIEW V_X AS SELECT * FROM TA La%' AND LΉN(E_CCOSTO WHERE Codigo <>N(Codigo) > 1 ORDER BY Cod 'ZigZo'
go
