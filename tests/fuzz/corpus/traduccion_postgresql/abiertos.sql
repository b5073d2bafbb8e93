SELECT 'sin cerrar FROM [tabla
GO
"x